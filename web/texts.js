// The texts the page's own scripts show (the controls, the figures panel, the notices), by id,
// in one object, so that a catalogue of another language can later stand in for it. A text
// with {name} in it takes a value of that name (ZorvanTexts.format).
'use strict';

window.ZorvanTexts = (function () {
  const texts = {
    // The controls.
    controls: 'Controls',
    controlsToggle: 'Touch controls',
    controlsToggleName: 'Show the touch controls',
    nextPage: 'Next page',
    nextPageName: 'Next page (any key)',
    numberField: 'Number',
    enter: 'Enter',
    enterName: 'Enter the number',
    step: 'Step',
    stepName: 'Step by step, one step (L)',
    normal: 'Normal',
    normalName: 'Normal running (N)',
    quiet: 'Quiet',
    quietName: 'Quiet running, only the step counter drawn (C)',
    end: 'End',
    endName: 'End of the run, the summary follows (V)',
    paceGroup: 'Pace of normal running',
    paceLabel: '{steps}/s',
    paceUnlimited: '\u221E',
    paceName: '{label}: a pace of {steps} steps a second (key {key})',
    paceUnlimitedName: 'No limit on the pace (key {key})',
    // The figures panel.
    figures: 'Figures of the run',
    stepCount: 'T',
    stepCountName: 'Steps made (T)',
    box1: 'Box 1',
    box2: 'Box 2',
    half: 'N/2',
    distance: 'Distance',
    distanceName: 'Distance between the empirical and the theoretical distribution now',
    firstDistance: 'After step 1',
    firstDistanceName: 'The distance after the first step',
    notYet: '\u2013',
    pace: 'Pace',
    paceNone: 'no limit',
    paceValue: '{steps} steps/s',
    mode: 'Mode',
    modes: ['Normal', 'Step by step', 'Quiet', 'Ended'],
    // The picture kept beside the summary.
    keptPicture: 'The last picture of the run',
    // The page's notices.
    turnSideways: 'Turn your phone sideways: the text and the picture get larger.',
    turnSidewaysOk: 'OK',
    zoom: 'Zoom',
    zoomName: 'Zoom of the run picture, from the next run on',
  };

  // The text of `id` with each {name} replaced by values[name].
  function format(id, values = {}) {
    return texts[id].replace(/\{(\w+)\}/g,
                             (whole, name) => (name in values ? String(values[name]) : whole));
  }

  // The page's elements take their texts by id: data-text gives the text, data-name the
  // accessible name.
  for (const element of document.querySelectorAll('[data-text]')) {
    element.textContent = texts[element.dataset.text];
  }
  for (const element of document.querySelectorAll('[data-name]')) {
    element.setAttribute('aria-label', texts[element.dataset.name]);
  }

  return { texts, format };
})();
