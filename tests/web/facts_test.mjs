// The page restates none of the programs' facts: what it needs of them comes from the modules
// the build writes (core_facts.js, languages.js). This fails when a copy of a fact reappears in
// the page's sources (web/): the console's size, the largest seed, the figures' slots, the run
// keys, the pace keys, the spinner, the reading of the catalogues.
//
//   node tests/web/facts_test.mjs <web build folder> <web folder>
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [buildFolder, webFolder] = process.argv.slice(2).map((path) => resolve(path));
assert.ok(webFolder, 'usage: facts_test.mjs <web build folder> <web folder>');
const facts = await import(pathToFileURL(join(buildFolder, 'page', 'core_facts.js')));

const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const quoted = (text) => `['"]${escape(text)}['"]`;
const number = (value) => new RegExp(`(?<![\\w.])${value}(?![\\w.])`);

// What a copy of each fact looks like in a source.
const copies = [
  ['the console\'s columns', number(facts.CONSOLE_COLUMNS)],
  ['the console\'s rows', number(facts.CONSOLE_ROWS)],
  ['the largest seed', number(facts.LARGEST_SEED)],
  ['the figures\' slots', new RegExp(facts.FIGURE_SLOTS.slice(0, -1)
    .map((name, i) => `${quoted(name)}\\s*,\\s*${quoted(facts.FIGURE_SLOTS[i + 1])}`).join('|'))],
  ['a run key', new RegExp(facts.RUN_MODES.map((mode) => quoted('Key' + mode.keys[0].toUpperCase())).join('|'))],
  ['a run key in a cell', new RegExp(`>\\s*(${facts.RUN_MODES.map((mode) => mode.keys[0].toUpperCase()).join('|')})\\s*</`)],
  ['the fastest pace', (() => {
    const fastest = Math.max(...facts.PACE_KEYS.map((entry) => entry.steps));
    return new RegExp(`(?<![\\w.])(${fastest}|${fastest / 1000}k)/s`);
  })()],
  ['the pace keys', new RegExp(quoted(facts.PACE_KEYS.map((entry) => entry.key).sort().join('')) + '|' +
                               quoted('1234567890'))],
  ['the spinner', new RegExp(escape(JSON.stringify(facts.SPINNER_SHAPES).slice(1, -1)))],
  ['the catalogues\' format', /\bmsg(ctxt|id|str)\b/],
];

const sources = readdirSync(webFolder).filter((name) => /\.(js|html)$/.test(name));

test('no source of the page restates a fact of the programs', () => {
  assert.ok(sources.includes('page.js'));
  const found = [];
  for (const name of sources) {
    const lines = readFileSync(join(webFolder, name), 'utf8').split('\n');
    lines.forEach((line, index) => {
      const code = line.replace(/\/\/.*$/, '');  // a comment may name a fact
      for (const [fact, pattern] of copies) {
        if (pattern.test(code)) found.push(`${name}:${index + 1}: ${fact}: ${line.trim()}`);
      }
    });
  }
  assert.deepEqual(found, []);
});

test('the copies it looks for are found where they stand', () => {
  const restated = ["const COLUMNS = 80, ROWS = 25;", "max=\"4294967295\"",
                    "const SLOTS = ['valid', 'step', 'insects'];", "['l', 'KeyL', 'page.step']",
                    "const PACE_DIGITS = '1234567890';", "const SPINNER = '-\\\\|/';",
                    "const keyword = /^(msgctxt|msgid|msgstr)\\s+/;", "<tr><td>L</td>",
                    "<td>1/s … 10k/s, ∞</td>"];
  for (const line of restated) {
    assert.ok(copies.some(([, pattern]) => pattern.test(line)), `not caught: ${line}`);
  }
});
