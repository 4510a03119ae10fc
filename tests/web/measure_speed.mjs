// Measures the page against the native program; prints figures, asserts nothing (speed is
// measured, not tested).
//
//   node tests/web/measure_speed.mjs <site folder> <bench_step_loop program> [rounds]
//
// - Turns per second of Normal (no pace) and Quiet in the page, N = 140, K = 70, with a surface
//   of 640 x 480 and of 1920 x 1017 (the page's stage is made exactly that size, so the canvas
//   is shown one to one), beside the native headless benchmark's BM_Normal and BM_Quiet of the
//   same size. Each round measures every mode once natively and once in the page, taking turns,
//   so that both see the same load on a shared machine; the table gives medians of the rounds
//   (5 unless told), as wall-clock rates, and page / native as the median of the rounds' ratios.
//   The CPU-time ratio sets the benchmark's CPU time against the page's main-thread task time
//   (its repaints included);
// - how long a key takes to be read while Quiet runs: from the keydown event to the program's
//   next wait for a key (L switches to step by step, whose next turn waits).
import { execFileSync } from 'node:child_process';
import { serveFolder, launchBrowser } from './browser.mjs';

const [site, bench, roundsText] = process.argv.slice(2);
const ROUNDS = Number(roundsText || 5);
const SIZES = [[640, 480], [1920, 1017]];
const MODES = [{ key: 'n', name: 'Normal' }, { key: 'c', name: 'Quiet' }];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => [...values].sort((x, y) => x - y)[Math.floor(values.length / 2)];

// Wall-clock and CPU-time rates of one native benchmark (its times are ns per turn).
function native(mode, [width, height]) {
  const out = execFileSync(bench, [`--benchmark_filter=^BM_${mode}/${width}/${height}$`,
                                   '--benchmark_min_time=2', '--benchmark_format=json'], { encoding: 'utf8' });
  const result = JSON.parse(out).benchmarks[0];
  return { wall: 1e9 / result.real_time, cpu: 1e9 / result.cpu_time };
}

// zorvan2 in a fresh page whose run surface is width x height, at the run's first key wait.
// The surface fills the screen, what the page's bar and the run's dock leave of the window, and
// the dock's width follows the window's: the window grows by what was missing until it fits.
async function openRun(browser, server, size) {
  let extra = [0, 0];
  for (let attempt = 0; ; ++attempt) {
    const session = await openRunIn(browser, server, size, extra);
    const missing = [size[0] - session.surface.width, size[1] - session.surface.height];
    if (missing[0] === 0 && missing[1] === 0) return session;
    await session.page.close();
    if (attempt === 4) {
      throw new Error(`the page measured ${session.surface.width}x${session.surface.height}, ` +
                      `not ${size.join('x')}`);
    }
    extra = [extra[0] + missing[0], extra[1] + missing[1]];
  }
}

// zorvan2 in a fresh page whose stage is width + extra[0] by height + extra[1], at the run's
// first key wait.
async function openRunIn(browser, server, [width, height], extra) {
  const page = await browser.newPage();
  await page.setViewport({ width: width + extra[0], height: 600 });
  await page.goto(server.url);
  const bar = await page.evaluate(() => window.innerHeight - document.getElementById('stage').clientHeight);
  await page.setViewport({ width: width + extra[0], height: height + bar + extra[1] });
  await page.evaluate(() => window.zorvanPage.start('zorvan2'));
  const run = () => page.evaluate(() => window.zorvanPage.run());
  const settle = async (state) => {
    for (;;) {
      const r = await run();
      if (r && !r.keyPending && r.state === state) return r;
      await sleep(20);
    }
  };
  while ((await run())?.state !== 'key-wait') {
    await page.keyboard.press('Space');
    await sleep(150);
  }
  await page.keyboard.type('140\r70\r');
  await settle('key-wait');
  const surface = await page.evaluate(() => window.zorvanPage.surface());
  return { page, run, settle, surface };
}

// Runs `key`'s mode in the page for 3 s after a start of 0.5 s and stops it with L: turns per
// second of wall time and of main-thread task time, and how long L took to be read.
async function pageRate({ page, run, settle }, key) {
  const taskSeconds = async () => (await page.metrics()).TaskDuration;
  await page.keyboard.press(key);
  await sleep(500);
  const a = await run(), aTime = await page.evaluate(() => performance.now()), aTask = await taskSeconds();
  await sleep(3000);
  const b = await run(), bTime = await page.evaluate(() => performance.now()), bTask = await taskSeconds();
  await page.keyboard.press('l');
  const stopped = await settle('key-wait');
  const turns = b.turns - a.turns;
  return { wall: turns / ((bTime - aTime) / 1000), cpu: turns / (bTask - aTask), latency: stopped.keyWaitAt - stopped.keyDownAt };
}

const rate = (perSecond) => perSecond >= 1e6 ? (perSecond / 1e6).toFixed(2) + ' M/s' : (perSecond / 1e3).toFixed(1) + ' k/s';

const server = await serveFolder(site);
const browser = await launchBrowser();
const table = [];
const latencies = [];
for (const size of SIZES) {
  const session = await openRun(browser, server, size);
  const rounds = MODES.map(() => []);
  for (let round = 0; round < ROUNDS; ++round) {
    for (const [index, mode] of MODES.entries()) {
      const n = native(mode.name, size);
      const p = await pageRate(session, mode.key);
      if (mode.key === 'c') latencies.push(p.latency);
      rounds[index].push({ native: n, page: p });
      console.log(`${size.join('x')} ${mode.name} round ${round + 1}: native ${rate(n.wall)}, page ${rate(p.wall)}, ` +
                  `ratio ${(p.wall / n.wall).toFixed(2)} wall, ${(p.cpu / n.cpu).toFixed(2)} CPU`);
    }
  }
  for (const [index, mode] of MODES.entries()) {
    const r = rounds[index];
    table.push(`| ${mode.name}, ${size.join('x')} | ${rate(median(r.map((x) => x.native.wall)))} | ` +
               `${rate(median(r.map((x) => x.page.wall)))} | ${median(r.map((x) => x.page.wall / x.native.wall)).toFixed(2)} | ` +
               `${median(r.map((x) => x.page.cpu / x.native.cpu)).toFixed(2)} |`);
  }
  await session.page.close();
}
console.log(`\nN = 140, K = 70, medians of ${ROUNDS} rounds (turns per second of wall-clock time):\n`);
console.log('| mode, surface | native | page | page / native | page / native, CPU time |');
console.log('|---|---|---|---|---|');
for (const line of table) console.log(line);
console.log(`\nkey read while Quiet runs: ${latencies.map((l) => l.toFixed(1)).join(', ')} ms after the keydown`);
await browser.close();
await server.close();
