// The page's inspection API, `window.zorvanPage`: what the page's tests (tests/web/) and the
// curious may ask of the page and of the run on its stage. It is the page's one global, and its
// names are kept as they are: checks outside this project rely on them.
//
//   start(name)             starts program name (zorvan2 or zorvan); resolves when it has
//                           loaded
//   run()                   the run on the stage, or null: { name, state, ended, exitCode,
//                           message, surfaceShown, surfaceWidth, surfaceHeight, turns,
//                           allocations, keyPending, keyDownAt, keyWaitAt } (run.js's states)
//   keptFiles()             the files kept at the run's end: { name, picture, figures } (the
//                           PNG's bytes as an array, the CSV as text), or null before it ended
//   seedProblem()           the seed field's message, or null
//   notice()                the program chooser's notice
//   language()              the page's language
//   figures()               the run's figures by slot name (program.js), or null
//   modeText(mode)          the figures panel's name of run mode `mode` (its value)
//   notYet                  what the panel shows for the distance at step 1 before that step
//   consoleText()           the console as 25 lines of text
//   consoleCells()          the console model: (character, attribute) per cell, row by row
//   consoleMirror()         the text mirror's rows over the console's picture
//   consoleNews()           what the console's live region last announced
//   consolePixels()         the console canvas: { width, height, rgba }
//   consoleRepaintDifference()  the first pixel ("x,y") where the console canvas differs from
//                           the program's whole console picture, or null
//   surface()               the surface's palette indices: { width, height, indices }, or null
//   palette()               the 256 palette colours, 0xRRGGBB each
//   canvasPixels()          what the surface canvas holds, RGBA
//   canvasBox()             the surface canvas's shown and intrinsic size, and whether hidden
import { NOT_YET, modeText } from './figures.js';

// `page` gives what the API reads: start(name), current() (the ProgramRun or null),
// consoleView, surfaceView, seedField, notice(), language().
export function install(page) {
  const program = () => page.current()?.program ?? null;
  window.zorvanPage = {
    start: (name) => page.start(name).then(() => undefined),
    run: () => {
      const run = page.current();
      if (!run) return null;
      const ready = run.ready;
      return {
        name: run.name, state: run.state, ended: run.ended, exitCode: run.exitCode,
        message: run.message, surfaceShown: run.surfaceShown,
        surfaceWidth: run.surfaceWidth, surfaceHeight: run.surfaceHeight,
        turns: ready ? run.program.turnCount() : 0,
        allocations: ready ? run.program.allocationCount() : 0,
        keyPending: ready ? run.program.keyPending() : false,
        keyDownAt: run.keyDownAt, keyWaitAt: run.keyWaitAt,
      };
    },
    keptFiles: () => {
      const kept = program()?.keptFiles();
      if (!kept) return null;
      return { name: kept.name, picture: Array.from(kept.picture),
               figures: new TextDecoder().decode(kept.figures) };
    },
    seedProblem: () => page.seedField.problem(),
    notice: () => page.notice(),
    language: () => page.language(),
    figures: () => program()?.figures() ?? null,
    modeText,
    notYet: NOT_YET,
    consoleText: () => page.consoleView.text(),
    consoleCells: () => page.consoleView.cells(),
    consoleMirror: () => page.consoleView.mirrorRows(),
    consoleNews: () => page.consoleView.news(),
    consolePixels: () => page.consoleView.pixels(),
    consoleRepaintDifference: () => page.consoleView.repaintDifference(),
    surface: () => program()?.surface() ?? null,
    palette: () => program().palette().slice(),
    canvasPixels: () => page.surfaceView.pixels(),
    canvasBox: () => page.surfaceView.box(),
  };
}
