// Measures the page against the native program; prints figures, asserts nothing (speed is
// measured, not tested).
//
//   node tests/web/measure_speed.mjs <site folder> <bench_step_loop program>
//
// - Quiet turns per second in the page with a 640 x 480 surface (N = 140, K = 70), beside the
//   native headless benchmark's BM_Quiet/640/480, in rounds that take turns so that both see the
//   same load on a shared machine: as wall-clock rates, and per second of CPU time (the
//   benchmark's CPU time; the page's main-thread task time, its repaints included);
// - how long a key takes to be read while Quiet runs: from the keydown event to the program's
//   next wait for a key (L switches to step by step, whose next turn waits).
import { execFileSync } from 'node:child_process';
import { serveFolder, launchBrowser } from './browser.mjs';

const [site, bench] = process.argv.slice(2);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Wall-clock and CPU-time rates of the native benchmark (its times are ns per turn).
function nativeQuiet() {
  const out = execFileSync(bench, ['--benchmark_filter=BM_Quiet/640/480', '--benchmark_min_time=2',
                                   '--benchmark_format=json'], { encoding: 'utf8' });
  const result = JSON.parse(out).benchmarks[0];
  return { wall: 1e9 / result.real_time, cpu: 1e9 / result.cpu_time };
}

const median = (values) => [...values].sort((x, y) => x - y)[Math.floor(values.length / 2)];
const taskSeconds = async () => (await page.metrics()).TaskDuration;

const server = await serveFolder(site);
const browser = await launchBrowser();
const page = await browser.newPage();
await page.setViewport({ width: 640, height: 480 });
await page.goto(server.url);
await page.evaluate(() => window.zorvanPage.start('zorvan2'));
const run = () => page.evaluate(() => window.zorvanPage.run());
async function settle(state) {
  for (;;) {
    const r = await run();
    if (!r.keyPending && r.state === state) return r;
    await sleep(20);
  }
}
while ((await run()).state !== 'key-wait') {
  await page.keyboard.press('Space');
  await sleep(150);
}
await page.keyboard.type('140\r70\r');
await settle('key-wait');
const size = await page.evaluate(() => window.zorvanPage.surface());
const rounds = [], latencies = [];
for (let round = 0; round < 5; ++round) {
  const native = nativeQuiet();
  await page.keyboard.press('c');
  await sleep(500);
  const a = await page.evaluate(() => [window.zorvanPage.run().turns, performance.now()]);
  const aTask = await taskSeconds();
  await sleep(3000);
  const b = await page.evaluate(() => [window.zorvanPage.run().turns, performance.now()]);
  const bTask = await taskSeconds();
  await page.keyboard.press('l');
  const r = await settle('key-wait');
  latencies.push(r.keyWaitAt - r.keyDownAt);
  const turns = b[0] - a[0];
  rounds.push({ native, wall: turns / ((b[1] - a[1]) / 1000), cpu: turns / (bTask - aTask) });
  const last = rounds[rounds.length - 1];
  console.log(`round ${round + 1}: native ${Math.round(native.wall)} turns/s wall, ${Math.round(native.cpu)} per CPU s; ` +
              `page ${Math.round(last.wall)} wall, ${Math.round(last.cpu)} per main-thread task s; ` +
              `ratio ${(last.wall / native.wall).toFixed(2)} wall, ${(last.cpu / native.cpu).toFixed(2)} CPU`);
}
console.log(`surface ${size.width}x${size.height}, N = 140, K = 70`);
console.log(`page / native Quiet, median of ${rounds.length} rounds: ${median(rounds.map((x) => x.wall / x.native.wall)).toFixed(2)} (wall clock), ` +
            `${median(rounds.map((x) => x.cpu / x.native.cpu)).toFixed(2)} (CPU time)`);
console.log(`key read while Quiet runs: ${latencies.map((l) => l.toFixed(1)).join(', ')} ms after the keydown`);
await browser.close();
await server.close();
