// The seed field in the bar: the programs start with "--seed <seed>". The field takes a whole
// number from 0 to the programs' largest seed (empty is 0); a new seed goes into the address
// (link.js) and starts the program on the stage again, as a change of language does. Anything
// else is refused with a message, and the seed in force stays.
import { LARGEST_SEED } from './core_facts.js';
import * as Link from './link.js';
import * as Texts from './texts.js';

// `field` is the <input>, `problem` the message beside it; `onSeed(seed)` is called when the
// person puts a new seed in force, `onLeave()` when the field gives up the focus for the stage
// (after a new seed, or on Escape).
export function create(field, problem, { onSeed, onLeave }) {
  let seed = 0;
  field.max = String(LARGEST_SEED);

  // Shows or hides the message that the field holds no seed, in the language chosen.
  function setProblem(shown) {
    field.setAttribute('aria-invalid', String(shown));
    problem.hidden = !shown;
    problem.textContent = shown ? Texts.text('page.seed_invalid', { largest: LARGEST_SEED }) : '';
  }

  // Puts `value` in force and into the field (empty for 0), with no message.
  function show(value) {
    seed = value;
    field.value = value === 0 ? '' : String(value);
    setProblem(false);
  }

  field.addEventListener('change', () => {
    const text = field.value.trim();
    const value = text === '' && !field.validity.badInput ? 0 : Link.seedOf(text);
    if (value === null) {
      setProblem(true);
      return;
    }
    show(value);
    Link.write({ seed: value === 0 ? null : value });
    field.blur();
    onLeave();
    onSeed(value);
  });
  field.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    field.blur();
    onLeave();
  });
  Texts.onChange(() => { if (!problem.hidden) setProblem(true); });

  return {
    show,
    seed: () => seed,
    problem: () => (problem.hidden ? null : problem.textContent),
    // True for a keydown the field edits itself: the program does not see it. Ctrl-C still
    // stops the program, and Escape leaves the field for the stage.
    ownsKey: (event) => event.target === field && !event.ctrlKey && !event.altKey &&
                        !event.metaKey && event.key !== 'Escape',
  };
}
