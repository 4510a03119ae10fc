// The page's address as a link to hand out: its parameters say what to start and how.
//
//   ?program=zorvan2   starts that program when the page opens (zorvan2 or zorvan)
//   &zoom=2            the run picture's zoom (1 to 8): the surface is the free area divided
//                      by it, never below 640 x 480, each of its pixels a crisp block
//   &lang=en           the language of the page and of the programs it starts, as a language
//                      tag (en, en-GB, en_GB); texts.js takes the page's language it stands for
//   &seed=5            the seed the programs' random generator starts from (0 to 4294967295,
//                      0 when absent): the same seed and the same answers give the same run
//
// Each parameter has a field in the page (the program switch, the zoom choice, the language
// switch, the seed field); choosing there writes it back into the address, so the address bar
// always holds the link to what is shown. A value the page does not know is ignored.
'use strict';

window.ZorvanLink = (function () {
  const LARGEST_SEED = 4294967295;
  const PARAMETERS = {
    program: (text) => (text === 'zorvan2' || text === 'zorvan' ? text : null),
    zoom: (text) => (/^[1-8]$/.test(text) ? Number(text) : null),
    lang: (text) => (/^[A-Za-z]{2,3}([-_][A-Za-z0-9]{2,8})?$/.test(text) ? text : null),
    seed: (text) => seedOf(text),
  };

  // The seed `text` names (decimal digits, 0 to LARGEST_SEED), or null.
  function seedOf(text) {
    return /^[0-9]{1,10}$/.test(text) && Number(text) <= LARGEST_SEED ? Number(text) : null;
  }

  // The parameters of the address that the page knows, each as its value.
  function read() {
    const found = {};
    const search = new URLSearchParams(window.location.search);
    for (const name in PARAMETERS) {
      const value = search.has(name) ? PARAMETERS[name](search.get(name)) : null;
      if (value !== null) found[name] = value;
    }
    return found;
  }

  // Writes `changes` into the address without a reload (null removes a parameter).
  function write(changes) {
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

  return { read, write, seedOf, LARGEST_SEED };
})();
