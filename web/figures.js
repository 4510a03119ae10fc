// The figures panel beside the run picture: T, the count in each box, N/2, the distance now and
// after the first step (the second version only), the pace and the run mode, as the program's
// run state holds them.
//
// The program gives them through its page API (zorvan_figures, services/live_figures.h); the
// page only writes them out. It reads them at most every READ_EVERY_MS while the program runs,
// between two slices of its turns, and at once whenever it waits for a key, so the panel shows
// the state the screen shows whenever the program stands still. Each figure is an element
// with data-figure="<name>"; a figure that does not apply (no distance in the first version)
// is hidden with its label.
'use strict';

window.ZorvanFigures = (function () {
  const READ_EVERY_MS = 250;
  // The slots of zorvan_figures's answer, in its order.
  const SLOTS = ['valid', 'step', 'insects', 'box1', 'box2', 'half', 'hasDistance', 'distance',
                 'firstDistance', 'pace', 'mode'];
  const DISTANCE_DECIMALS = 3;
  const { texts, format } = window.ZorvanTexts;

  // The panel's items: the figure's name, its label's text id and its accessible name's.
  const ITEMS = [
    ['step', 'stepCount', 'stepCountName'], ['box1', 'box1'], ['box2', 'box2'], ['half', 'half'],
    ['distance', 'distance', 'distanceName'],
    ['firstDistance', 'firstDistance', 'firstDistanceName'],
    ['pace', 'pace'], ['mode', 'mode'],
  ];

  // The figures now, by slot name, from the program's memory.
  function read(module) {
    const values = new Float64Array(module.HEAPU8.buffer, module._zorvan_figures(), SLOTS.length);
    const figures = {};
    SLOTS.forEach((name, index) => { figures[name] = values[index]; });
    return figures;
  }

  function countText(value) { return Math.round(value).toLocaleString('en-US'); }

  // The text of each figure.
  function textsOf(figures) {
    return {
      step: countText(figures.step),
      box1: countText(figures.box1),
      box2: countText(figures.box2),
      half: String(figures.half),
      distance: figures.distance.toFixed(DISTANCE_DECIMALS),
      firstDistance: figures.step >= 1 ? figures.firstDistance.toFixed(DISTANCE_DECIMALS)
                                       : texts.notYet,
      pace: figures.pace === 0 ? texts.paceNone
                               : format('paceValue', { steps: countText(figures.pace) }),
      mode: texts.modes[figures.mode] || '',
    };
  }

  // Builds the panel's items into `list` (a <dl>); answers the panel.
  function create(list) {
    const values = {};
    const rows = {};
    for (const [name, label, accessibleName] of ITEMS) {
      const row = document.createElement('div');
      row.className = 'figure';
      const term = document.createElement('dt');
      term.textContent = texts[label];
      if (accessibleName) term.title = texts[accessibleName];
      const value = document.createElement('dd');
      value.dataset.figure = name;
      row.append(term, value);
      list.append(row);
      values[name] = value;
      rows[name] = row;
    }
    let readAt = -Infinity;
    let lastFigures = null;

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

    // Reads the figures again when it is time: `waiting` is true while the program waits for a
    // key, the page prompt or nothing (it has ended).
    function update(module, waiting) {
      const now = performance.now();
      if (!waiting && now - readAt < READ_EVERY_MS) return;
      readAt = now;
      show(read(module));
    }

    function forget() {
      readAt = -Infinity;
      lastFigures = null;
    }

    return { update, figures: () => lastFigures, forget };
  }

  return { create, read };
})();
