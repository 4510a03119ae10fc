// The on-screen controls: for a touchscreen, which has no keys, and for anyone who asks for them.
// They send the program the very keys the keyboard sends, through the same entry (`sendKey`,
// page.js's key entry), so a run steered by them is the run the same keys typed would give.
//
//   at a page prompt     "Next page" (a space, as any key would do); a tap on the console
//                        with a finger does the same
//   at a number prompt   a numeric field (the phone shows its number pad) and "Enter"
//   during the run       Step (L), Normal (N), Quiet (C), End (V) and the pace digits 1-9, 0
//
// The number field is not an editor of its own. The program's line editor holds the line; the
// field mirrors it. Whatever the field's value becomes (a character typed, one deleted, a
// paste, an edit in the middle), the difference from what was sent is sent as keys: a
// Backspace for each character back to the first one that differs, then the new characters.
// A character the program does not take is dropped from the field. Enter sends Enter and
// empties the field for the next answer; Esc, which empties the program's line, empties it too.
//
// Which group shows follows the program's wait: a page prompt sleeps between its looks at the
// keyboard, a number prompt waits for a key with the console shown, and the run shows its
// surface. While the program runs between two waits the group stays as it was.
import { PACE_KEYS, RUN_MODES } from './core_facts.js';
import * as Texts from './texts.js';

// The run's buttons, in their order: the run mode each selects (by the programs' name for
// it), the button's text and accessible name ids.
const RUN_BUTTONS = [['Stepwise', 'page.step', 'page.step_label'],
                     ['Normal', 'page.normal', 'page.normal_label'],
                     ['Quiet', 'page.quiet', 'page.quiet_label'],
                     ['Finish', 'page.end', 'page.end_label']];
const UNLIMITED = '\u221E';

// A run button's key as a keydown gives it (the mode's lower-case key) and its mode's value.
function runKey(modeName) {
  const mode = RUN_MODES.find((entry) => entry.name === modeName);
  const key = [...mode.keys].find((character) => character === character.toLowerCase());
  return { key, code: 'Key' + key.toUpperCase(), value: mode.value };
}

// The pace keys in the keyboard's order, 1 to 9, then 0.
const PACES_IN_KEY_ORDER = PACE_KEYS.slice().sort((a, b) => (a.key === '0') - (b.key === '0') ||
                                                            a.key.localeCompare(b.key));

// A pace as a button shows it: "10/s", "3k/s", or the sign of no limit.
function paceShown(steps) {
  if (steps === 0) return UNLIMITED;
  return Texts.text('page.pace_button', { steps: steps >= 1000 ? steps / 1000 + 'k' : steps });
}

// Fills the key table of the page's About (`root`) from the programs' keys: a cell marked
// data-mode-key="<mode>" with that mode's key, data-pace-keys with the pace digits and
// data-pace-steps with the paces they set, which follow the language chosen.
export function fillKeyTable(root) {
  for (const cell of root.querySelectorAll('[data-mode-key]')) {
    cell.textContent = runKey(cell.dataset.modeKey).key.toUpperCase();
  }
  const first = PACES_IN_KEY_ORDER[0], last = PACES_IN_KEY_ORDER.at(-1);
  const beforeLast = PACES_IN_KEY_ORDER.at(-2);
  const span = (low, high, after) => `${low} \u2026 ${high}, ${after}`;
  for (const cell of root.querySelectorAll('[data-pace-keys]')) {
    cell.textContent = span(first.key, beforeLast.key, last.key);
  }
  const labelSteps = () => {
    for (const cell of root.querySelectorAll('[data-pace-steps]')) {
      cell.textContent = span(paceShown(first.steps), paceShown(beforeLast.steps),
                              paceShown(last.steps));
    }
  };
  labelSteps();
  Texts.onChange(labelSteps);
}

// A button whose text is `textId`'s and whose accessible name `labelId`'s (none: its text).
function button(textId, labelId, onPress) {
  const element = document.createElement('button');
  element.type = 'button';
  if (textId) element.dataset.text = textId;
  if (labelId) element.dataset.label = labelId;
  element.addEventListener('click', () => { onPress(); element.blur(); });
  return element;
}

// The group a run waits in, or null; `previous` while it runs between waits. The run's group
// shows from the moment the page's free area is measured for the run's picture.
function groupFor(run, previous) {
  if (!run || !run.ready || run.ended) return null;
  if (run.surfaceShown || run.measuring) return 'run';
  if (run.state === 'sleep') return 'pager';
  if (run.state === 'key-wait') return 'number';
  return previous;
}

// Builds the controls into `panel`. `sendKey(key, code)` hands the program a key as a keydown
// with that key and code would (true when it took it); `promptText()` is the console's text
// left of its cursor; a finger's tap on `consoleText` (the console's text over its picture)
// turns a page.
export function create(panel, { sendKey, promptText, consoleText }) {
  const groups = {};
  const group = (name, element) => {
    element.className = 'group';
    element.dataset.group = name;
    element.hidden = true;
    panel.append(element);
    groups[name] = element;
    return element;
  };

  const next = button('page.next_page', 'page.next_page_label', () => sendKey(' ', 'Space'));
  next.id = 'next-page';
  group('pager', document.createElement('div')).append(next);

  const form = group('number', document.createElement('form'));
  const label = document.createElement('label');
  label.htmlFor = 'number';
  const field = document.createElement('input');
  Object.assign(field, { id: 'number', type: 'text', inputMode: 'numeric', autocomplete: 'off',
                         spellcheck: false, maxLength: 254 });
  field.setAttribute('enterkeyhint', 'go');
  field.setAttribute('aria-describedby', 'number-prompt');
  const prompt = document.createElement('span');
  prompt.id = 'number-prompt';
  prompt.className = 'prompt';
  const fieldName = document.createElement('span');
  fieldName.dataset.text = 'page.number_field';
  label.append(fieldName, document.createTextNode(' '), prompt);
  const enter = document.createElement('button');
  enter.type = 'submit';
  enter.dataset.text = 'page.enter';
  enter.dataset.label = 'page.enter_label';
  form.append(label, field, enter);

  let sent = '';  // the program's line, as the field has sent it
  field.addEventListener('input', () => {
    const value = field.value;
    let same = 0;
    while (same < sent.length && same < value.length && sent[same] === value[same]) ++same;
    for (let i = sent.length; i > same; --i) sendKey('Backspace', 'Backspace');
    let line = sent.slice(0, same);
    for (const character of value.slice(same)) if (sendKey(character, '')) line += character;
    sent = line;
    if (field.value !== line) field.value = line;
  });
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    sendKey('Enter', 'Enter');
    field.value = sent = '';
  });
  field.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') field.value = sent = '';
  });

  const runGroup = group('run', document.createElement('div'));
  const modeButtons = RUN_BUTTONS.map(([modeName, text, label]) => {
    const { key, code, value } = runKey(modeName);
    const element = button(text, label, () => sendKey(key, code));
    element.dataset.key = key;
    element.dataset.mode = value;
    return element;
  });
  const modes = document.createElement('div');
  modes.className = 'modes';
  modes.append(...modeButtons);
  const paces = document.createElement('div');
  paces.className = 'paces';
  paces.setAttribute('role', 'group');
  paces.dataset.label = 'page.pace_group';
  const paceButtons = PACES_IN_KEY_ORDER.map(({ key, steps }) => {
    const element = button(null, null, () => sendKey(key, 'Digit' + key));
    element.textContent = key;
    element.dataset.key = key;
    element.dataset.steps = steps;
    return element;
  });
  paces.append(...paceButtons);
  runGroup.append(modes, paces);

  // The pace buttons' labels, in the language chosen.
  function labelPaces() {
    for (const element of paceButtons) {
      const key = element.dataset.key, steps = Number(element.dataset.steps);
      const shown = paceShown(steps);
      element.textContent = shown;
      const name = steps === 0 ? Texts.text('page.pace_unlimited_label', { key })
        : Texts.text('page.pace_button_label',
                     { label: shown, steps: steps.toLocaleString(Texts.locale()), key });
      element.setAttribute('aria-label', name);
    }
  }
  Texts.apply(panel);
  labelPaces();
  Texts.onChange(labelPaces);

  // A finger's tap on the console turns the page, as a key would.
  consoleText.addEventListener('pointerup', (event) => {
    if (event.pointerType === 'touch' && current === 'pager') sendKey(' ', 'Space');
  });

  let current = null;  // the group shown
  let enabled = false;

  // Shows the group the run waits in (none when the controls are off); marks the run mode and
  // the pace in force from `figures`. Answers whether a group is shown.
  function update(run, figures) {
    current = groupFor(run, current);
    if (current !== 'number' && sent !== '') field.value = sent = '';
    for (const name in groups) {
      const hidden = !enabled || name !== current;
      if (groups[name].hidden !== hidden) groups[name].hidden = hidden;
    }
    if (!enabled || current === null) return false;
    if (current === 'number' && field.value === '') {
      const text = promptText();
      if (prompt.textContent !== text) prompt.textContent = text;
    }
    if (current === 'run') {
      if (figures) {
        // Written only when it changes: this runs on every frame.
        const press = (element, on) => {
          if (element.getAttribute('aria-pressed') !== String(on)) {
            element.setAttribute('aria-pressed', String(on));
          }
        };
        for (const element of modeButtons) {
          press(element, Number(element.dataset.mode) === figures.mode);
        }
        for (const element of paceButtons) {
          press(element, Number(element.dataset.steps) === figures.pace);
        }
      }
    }
    return true;
  }

  return {
    update,
    setEnabled: (on) => { enabled = on; },
    enabled: () => enabled,
    // True for a keydown the number field edits itself (its input then sends the keys).
    ownsKey: (event) => event.target === field && !event.ctrlKey && !event.altKey &&
                        !event.metaKey && event.key !== 'Escape' && event.key !== 'Tab',
  };
}
