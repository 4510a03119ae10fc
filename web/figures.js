// The figures panel beside the run picture: T, the count in each box, N/2, the distance now and
// after the first step (the second version only), the pace, the run mode and the seed, as the
// program's run state holds them.
//
// The program gives them (program.js: the figures' slots are the programs' own, core_facts.js);
// the page only writes them out. It reads them at most every READ_EVERY_MS while the program runs,
// between two slices of its turns, and at once whenever it waits for a key, so the panel shows
// the state the screen shows whenever the program stands still. Each figure is an element
// with data-figure="<name>"; a figure that does not apply (no distance in the first version)
// is hidden with its label.
import { RUN_MODES } from './core_facts.js';
import * as Texts from './texts.js';

const READ_EVERY_MS = 250;
const DISTANCE_DECIMALS = 3;
export const NOT_YET = '\u2013';
// The run modes' text ids, by the mode's name.
const MODE_TEXTS = { Normal: 'page.mode_normal', Stepwise: 'page.mode_step', Quiet: 'page.mode_quiet',
                     Finish: 'page.mode_ended' };

// The panel's items: the figure's name, its label's text id and its title's (the label in
// full, where the label is short).
const ITEMS = [
  ['step', 'page.figure_step', 'page.figure_step_title'], ['box1', 'page.figure_box1'],
  ['box2', 'page.figure_box2'], ['half', 'page.figure_half'],
  ['distance', 'page.figure_distance', 'page.figure_distance_title'],
  ['firstDistance', 'page.figure_first_distance', 'page.figure_first_distance_title'],
  ['pace', 'page.figure_pace'], ['mode', 'page.figure_mode'], ['seed', 'page.figure_seed'],
];

// The name of run mode `mode` (its value) in the language chosen ('' for a mode it does not
// know).
export function modeText(mode) {
  const known = RUN_MODES.find((entry) => entry.value === mode);
  return known ? Texts.text(MODE_TEXTS[known.name]) : '';
}

function countText(value) { return Math.round(value).toLocaleString(Texts.locale()); }

// The text of each figure, in the language chosen.
function textsOf(figures) {
  return {
    step: countText(figures.step),
    box1: countText(figures.box1),
    box2: countText(figures.box2),
    half: String(figures.half),
    distance: figures.distance.toFixed(DISTANCE_DECIMALS),
    firstDistance: figures.step >= 1 ? figures.firstDistance.toFixed(DISTANCE_DECIMALS)
                                     : NOT_YET,
    pace: figures.pace === 0 ? Texts.text('page.pace_none')
                             : Texts.text('page.pace_value', { steps: countText(figures.pace) }),
    mode: modeText(figures.mode),
    seed: String(figures.seed),  // as the seed field and the link write it
  };
}

// Builds the panel's items into `list` (a <dl>); answers the panel.
export function create(list) {
  const values = {};
  const rows = {};
  for (const [name, label, title] of ITEMS) {
    const row = document.createElement('div');
    row.className = 'figure';
    const term = document.createElement('dt');
    term.dataset.text = label;
    if (title) term.dataset.title = title;
    const value = document.createElement('dd');
    value.dataset.figure = name;
    row.append(term, value);
    list.append(row);
    values[name] = value;
    rows[name] = row;
  }
  let readAt = -Infinity;
  let lastFigures = null;
  Texts.apply(list);

  // Writes the figures out, changing only the texts that changed.
  function show(figures) {
    lastFigures = figures;
    const shown = textsOf(figures);
    for (const name in values) {
      if (values[name].textContent !== shown[name]) values[name].textContent = shown[name];
    }
    const distance = figures.hasDistance !== 0;
    rows.distance.hidden = rows.firstDistance.hidden = !distance;
  }

  // Reads the figures of `program` (program.js) again when it is time: `waiting` is true
  // while the program waits for a key, the page prompt or nothing (it has ended).
  function update(program, waiting) {
    const now = performance.now();
    if (!waiting && now - readAt < READ_EVERY_MS) return;
    readAt = now;
    show(program.figures());
  }

  function forget() {
    readAt = -Infinity;
    lastFigures = null;
  }

  // A change of language writes the figures out again (their labels follow by themselves).
  Texts.onChange(() => { if (lastFigures) show(lastFigures); });

  return { update, figures: () => lastFigures, forget };
}

