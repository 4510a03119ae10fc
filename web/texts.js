// The page's texts in the chosen language, for the page's elements and for its scripts (the
// controls, the figures panel, the notices).
//
// languages.js, written by the build, holds the Hungarian originals of web/page.pot and, for
// every other language of the data folder, its sound translations: the build judges them by the
// programs' own rule, so a text the programs would not take is not there, and the page shows its
// original. A text has an id (its msgctxt); "{name}" in it takes a value of that name. The
// language is the address's `lang` (link.js) when the page has it, else the first of the
// browser's languages that it has, else Hungarian.
//
// The page's elements take their texts by id: data-text gives an element's text, data-label its
// accessible name (aria-label), data-title its title. `apply` puts them in for the language
// chosen, and a change of language puts them in again and tells the scripts that build texts of
// their own (`onChange`), so everything the page shows follows the switch at once.
import { ORIGINAL_LANGUAGE, ORIGINAL_TEXTS, TRANSLATIONS } from './languages.js';
import * as Link from './link.js';

const LANGUAGE_CODES = [ORIGINAL_LANGUAGE, ...Object.keys(TRANSLATIONS)];

function originalText(id) { return ORIGINAL_TEXTS[id] ?? id; }

// The translation of a text in `code`, or null where it has none.
function translation(id, code) { return (TRANSLATIONS[code] || {})[id] ?? null; }

// The page's language that a language tag stands for, or null: "en-GB" is en_GB if the page
// has it, else en.
function languageOf(tag) {
  const parts = String(tag || '').split(/[-_]/);
  const primary = parts[0].toLowerCase();
  const candidates = parts.length > 1 ? [primary + '_' + parts[1].toUpperCase(), primary]
                                      : [primary];
  return candidates.find((code) => LANGUAGE_CODES.includes(code)) ?? null;
}

function chooseLanguage() {
  for (const tag of [Link.read().lang, ...(navigator.languages || [navigator.language])]) {
    const code = languageOf(tag);
    if (code) return code;
  }
  return ORIGINAL_LANGUAGE;
}

let language = chooseLanguage();
const listeners = [];

// A text in the chosen language with its placeholders filled in; the Hungarian original where
// there is no translation.
export function text(id, values = {}) {
  return (translation(id, language) ?? originalText(id))
    .replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
}

// Every text of the page's elements under `root` in the chosen language.
export function apply(root = document) {
  if (root === document) document.documentElement.lang = language.replace('_', '-');
  for (const element of root.querySelectorAll('[data-text]')) {
    element.textContent = text(element.dataset.text);
  }
  for (const element of root.querySelectorAll('[data-label]')) {
    element.setAttribute('aria-label', text(element.dataset.label));
  }
  for (const element of root.querySelectorAll('[data-title]')) {
    element.title = text(element.dataset.title);
  }
}

// Speaks `code` from now on: the page's elements at once, then each listener.
export function setLanguage(code) {
  language = LANGUAGE_CODES.includes(code) ? code : ORIGINAL_LANGUAGE;
  apply();
  for (const listener of listeners) listener(language);
}

// The language's own name (its code when its catalogue has none).
export function nameOf(code) {
  const name = code === ORIGINAL_LANGUAGE ? originalText('page.language_name')
                                          : translation('page.language_name', code);
  return name || code;
}

export const currentLanguage = () => language;
export const languages = () => LANGUAGE_CODES.slice();
// `listener(language)` is called after each change of language.
export const onChange = (listener) => { listeners.push(listener); };
// The chosen language's way of writing a number, for the figures and the controls.
export const locale = () => language.replace('_', '-');

apply();
