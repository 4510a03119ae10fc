// The page's texts in the chosen language: the one reader of the page's catalogues, for the
// page's elements and for its scripts (the controls, the figures panel, the notices).
//
// languages.js (written by the build) holds web/page.pot, whose originals are the Hungarian
// texts, and the page catalogue of every other language of the data folder. A text has an id
// (its msgctxt); "{name}" in it takes a value of that name. The language is the address's `lang`
// (link.js) when the page has it, else the first of the browser's languages that it has, else
// Hungarian.
//
// The page's elements take their texts by id: data-text gives an element's text, data-label its
// accessible name (aria-label), data-title its title. `apply` puts them in for the language
// chosen, and a change of language puts them in again and tells the scripts that build texts of
// their own (`onChange`), so everything the page shows follows the switch at once.
'use strict';

window.ZorvanTexts = (function () {
  const ORIGINAL_LANGUAGE = 'hu';
  const LANGUAGES = window.zorvanLanguages || { original: '', catalogues: {} };

  // The entries of a PO catalogue by id (msgctxt): { original, translation, fuzzy }. The
  // programs read the same format (services/po_file.h); an entry without an id is left out.
  function readCatalogue(text) {
    const entries = {};
    let entry = null, field = null, fuzzy = false;
    const close = () => {
      if (entry && entry.id) entries[entry.id] = entry;
      entry = null;
      field = null;
    };
    const unquote = (quoted) => {
      try {
        return JSON.parse(quoted);  // the format's escapes are JSON's
      } catch (error) {
        return '';
      }
    };
    for (const raw of text.split(/\r?\n/)) {
      const line = raw.trim();
      const keyword = /^(msgctxt|msgid|msgstr)\s+(".*")$/.exec(line);
      if (line === '' || line.startsWith('#')) {
        if (entry && entry.translation !== undefined) close();
        if (/^#,.*\bfuzzy\b/.test(line)) fuzzy = true;
      } else if (keyword) {
        if (keyword[1] !== 'msgstr' && entry && entry.translation !== undefined) close();
        if (!entry) {
          entry = { id: '', original: '', translation: undefined, fuzzy };
          fuzzy = false;
        }
        field = { msgctxt: 'id', msgid: 'original', msgstr: 'translation' }[keyword[1]];
        entry[field] = unquote(keyword[2]);
      } else if (line.startsWith('"') && entry && field) {
        entry[field] += unquote(line);
      }
    }
    close();
    return entries;
  }

  const originals = readCatalogue(LANGUAGES.original);
  const catalogues = {};
  for (const [code, text] of Object.entries(LANGUAGES.catalogues)) {
    catalogues[code] = readCatalogue(text);
  }
  const LANGUAGE_CODES = [ORIGINAL_LANGUAGE, ...Object.keys(catalogues)];

  function originalText(id) { return originals[id] ? originals[id].original : id; }

  // The translation of a text in `code`'s catalogue, or null where it has no sound one (none,
  // fuzzy, empty, or of an older original), as the programs judge it.
  function translation(id, code) {
    const entry = (catalogues[code] || {})[id];
    const sound = entry && !entry.fuzzy && entry.translation && entry.original === originalText(id);
    return sound ? entry.translation : null;
  }

  // The page's language that a language tag stands for, or null: "en-GB" is en_GB if the page
  // has it, else en.
  function languageOf(tag) {
    const parts = String(tag || '').split(/[-_]/);
    const primary = parts[0].toLowerCase();
    const candidates = parts.length > 1 ? [primary + '_' + parts[1].toUpperCase(), primary]
                                        : [primary];
    for (const code of candidates) {
      if (LANGUAGE_CODES.includes(code)) return code;
    }
    return null;
  }

  function chooseLanguage() {
    const asked = window.ZorvanLink.read().lang;
    for (const tag of [asked, ...(navigator.languages || [navigator.language])]) {
      const code = languageOf(tag);
      if (code) return code;
    }
    return ORIGINAL_LANGUAGE;
  }

  let language = chooseLanguage();
  const listeners = [];

  // A text in the chosen language with its placeholders filled in; the Hungarian original where
  // there is no translation.
  function text(id, values = {}) {
    return (translation(id, language) || originalText(id))
      .replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
  }

  // Every text of the page's elements under `root` in the chosen language.
  function apply(root = document) {
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
  function setLanguage(code) {
    language = LANGUAGE_CODES.includes(code) ? code : ORIGINAL_LANGUAGE;
    apply();
    for (const listener of listeners) listener(language);
  }

  // The language's own name (its code when its catalogue has none).
  function nameOf(code) {
    const name = code === ORIGINAL_LANGUAGE ? originalText('page.language_name')
                                            : translation('page.language_name', code);
    return name || code;
  }

  apply();

  return {
    text,
    apply,
    setLanguage,
    nameOf,
    language: () => language,
    languages: () => LANGUAGE_CODES.slice(),
    // `listener(language)` is called after each change of language.
    onChange: (listener) => { listeners.push(listener); },
    // The chosen language's way of writing a number, for the figures and the controls.
    locale: () => language.replace('_', '-'),
  };
})();
