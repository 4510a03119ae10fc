// Measures the page against the native program; prints figures, asserts nothing (speed is
// measured, not tested).
//
//   node tests/web/measure_speed.mjs <site folder> <bench_step_loop program>
//
// - Quiet turns per second in the page with a 640 x 480 surface (N = 140, K = 70), beside the
//   native headless benchmark's BM_Quiet/640/480 run just before, both as wall-clock rates on
//   the same machine;
// - how long a key takes to be read while Quiet runs: from the keydown event to the program's
//   next wait for a key (L switches to step by step, whose next turn waits).
import { execFileSync } from 'node:child_process';
import { serveFolder, launchBrowser } from './browser.mjs';

const [site, bench] = process.argv.slice(2);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function nativeQuietTurnsPerSecond() {
  const out = execFileSync(bench, ['--benchmark_filter=BM_Quiet/640/480', '--benchmark_repetitions=3',
                                   '--benchmark_report_aggregates_only=true', '--benchmark_format=json'], { encoding: 'utf8' });
  const median = JSON.parse(out).benchmarks.find((b) => b.aggregate_name === 'median');
  return 1e9 / median.real_time;  // real_time is in ns per turn
}

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
const native = nativeQuietTurnsPerSecond();
const rates = [], latencies = [];
for (let round = 0; round < 3; ++round) {
  await page.keyboard.press('c');
  await sleep(500);
  const a = await page.evaluate(() => [window.zorvanPage.run().turns, performance.now()]);
  await sleep(3000);
  const b = await page.evaluate(() => [window.zorvanPage.run().turns, performance.now()]);
  rates.push((b[0] - a[0]) / ((b[1] - a[1]) / 1000));
  await page.keyboard.press('l');
  const r = await settle('key-wait');
  latencies.push(r.keyWaitAt - r.keyDownAt);
}
rates.sort((x, y) => x - y);
console.log(`surface ${size.width}x${size.height}`);
console.log(`native headless Quiet 640x480: ${Math.round(native)} turns/s (wall clock, median of 3)`);
console.log(`page Quiet 640x480: ${rates.map(Math.round).join(', ')} turns/s; median ${Math.round(rates[1])} = ${(rates[1] / native).toFixed(2)} of native`);
console.log(`key read while Quiet runs: ${latencies.map((l) => l.toFixed(1)).join(', ')} ms after the keydown`);
await browser.close();
await server.close();
