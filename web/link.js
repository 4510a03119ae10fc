// The page's address as a link to hand out: its parameters say what to start and how.
//
//   ?program=zorvan2   starts that program when the page opens (zorvan2 or zorvan)
//   &zoom=2            the run picture's zoom (a whole number from 1 to the programs' largest):
//                      the surface is the free area divided by it, never below 640 x 480, each
//                      of its pixels a crisp block
//   &lang=en           the language of the page and of the programs it starts, as a language
//                      tag (en, en-GB, en_GB); texts.js takes the page's language it stands for
//   &seed=5            the seed the programs' random generator starts from (0 to the programs'
//                      largest, 0 when absent): the same seed and the same answers give the
//                      same run
//
// Each parameter has a field in the page (the program switch, the zoom choice, the language
// switch, the seed field); choosing there writes it back into the address, so the address bar
// always holds the link to what is shown. A value the page does not know is ignored.
import { LARGEST_SEED, LARGEST_ZOOM } from './core_facts.js';
import { PROGRAM_NAMES } from './program.js';

// The seed `text` names (decimal digits, 0 to LARGEST_SEED), or null.
export function seedOf(text) {
  return /^[0-9]{1,10}$/.test(text) && Number(text) <= LARGEST_SEED ? Number(text) : null;
}

// The zoom `text` names (a whole number, 1 to LARGEST_ZOOM), or null.
function zoomOf(text) {
  return /^[0-9]{1,2}$/.test(text) && Number(text) >= 1 && Number(text) <= LARGEST_ZOOM
    ? Number(text) : null;
}

const PARAMETERS = {
  program: (text) => (PROGRAM_NAMES.includes(text) ? text : null),
  zoom: zoomOf,
  lang: (text) => (/^[A-Za-z]{2,3}([-_][A-Za-z0-9]{2,8})?$/.test(text) ? text : null),
  seed: seedOf,
};

// The parameters of the address that the page knows, each as its value.
export function read() {
  const found = {};
  const search = new URLSearchParams(window.location.search);
  for (const name in PARAMETERS) {
    const value = search.has(name) ? PARAMETERS[name](search.get(name)) : null;
    if (value !== null) found[name] = value;
  }
  return found;
}

// Writes `changes` into the address without a reload (null removes a parameter).
export function write(changes) {
  const url = new URL(window.location.href);
  for (const name in changes) {
    if (changes[name] === null) url.searchParams.delete(name);
    else url.searchParams.set(name, String(changes[name]));
  }
  try {
    window.history.replaceState(null, '', url.href);
  } catch {
    // Some browsers refuse to change the address of a page opened from a file: keep it.
  }
}
