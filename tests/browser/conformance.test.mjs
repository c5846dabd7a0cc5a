// The "HTML5" pages as conforming documents: the Nu HTML Checker finds no
// error in the golden pages nor in pages of projects made of random values,
// and axe-core (with every tree item named) finds no violation in them, as
// loaded and with every branch open.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { describe, it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { randomProject } from './random_projects.mjs';
import { buildPage, eachBrowser, siteDir, writerTool } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const goldenDir = path.resolve(here, '../golden/pages');
const vnuJar = createRequire(import.meta.url).resolve('vnu-jar/build/dist/vnu.jar');

// How many random projects the checker and the browsers see; more through
// POMELI2_RANDOM_PROJECTS=checked,browsed.
const [checkedProjects, browsedProjects] = (process.env.POMELI2_RANDOM_PROJECTS || '300,60').split(',').map(Number);

const dir = siteDir();
const goldenPages = fs.readdirSync(goldenDir).filter((f) => f.startsWith('html5-')).map((f) => path.join(goldenDir, f));
const randomPages = [];
for (let seed = 1; seed <= checkedProjects; ++seed) {
  const project = path.join(dir, `random${seed}.pml`);
  fs.writeFileSync(project, randomProject(seed));
  execFileSync(writerTool, [project, path.join(dir, `random${seed}.html`)]);
  randomPages.push(`random${seed}.html`);
}
const builtPages = ['html5-all', 'html5-unite', 'html5-nested', 'html5-frames'].map((p) => buildPage(dir, p, ['--copy-images']));

// The checker's errors in each file, as "line: message" lines.
function checkerErrors(files) {
  const run = spawnSync('java', ['-jar', vnuJar, '--format', 'json', '--errors-only', ...files], {
    encoding: 'utf8', maxBuffer: 64 << 20,
  });
  assert.ok(run.stderr, `the checker said nothing (${run.error || run.status})`);
  const errors = Object.fromEntries(files.map((f) => [f, []]));
  for (const m of JSON.parse(run.stderr).messages) {
    const file = fileURLToPath(m.url);
    (errors[file] ||= []).push(`${m.lastLine}: ${m.message} ${JSON.stringify(m.extract || '')}`);
  }
  return errors;
}
const only = (errors) => Object.fromEntries(Object.entries(errors).filter(([, list]) => list.length));

describe('Nu HTML Checker on the HTML5 pages', () => {
  it('finds no error in the golden pages, nor in the pages pomeli2-build writes', () => {
    const files = [...goldenPages, ...builtPages.map((p) => path.join(dir, p))];
    assert.equal(goldenPages.length, 3);
    assert.deepEqual(only(checkerErrors(files)), {});
  });

  it(`finds no error in the pages of ${checkedProjects} projects of random values`, () => {
    assert.deepEqual(only(checkerErrors(randomPages.map((p) => path.join(dir, p)))), {});
  });

  it('tells an error when there is one', () => {
    const broken = path.join(dir, 'broken.html');
    fs.writeFileSync(broken, fs.readFileSync(path.join(dir, randomPages[0]), 'utf8').replace('<ul>', '<ul><div></div>'));
    assert.equal(checkerErrors([broken])[broken].length > 0, true);
  });
});

// In the page: every branch opened through the script's own memory of open
// branches, which opens them all, one-tree-at-a-time or not.
async function openEveryBranch(page) {
  await page.evaluate(() => {
    const ids = [...document.querySelectorAll('#pomeli a[id]')].map((a) => a.id);
    sessionStorage.setItem('pomeli2:' + location.pathname, ids.join(' '));
  });
  await page.reload();
  return page.evaluate(() => document.querySelectorAll('#pomeli [aria-expanded="false"]').length);
}

eachBrowser(', HTML5 conformance', dir, (run) => {
  it(`axe finds no violation in the built pages and ${browsedProjects} random ones, closed and all open`, async () => {
    let nameless = 0;
    for (const name of [...builtPages, ...randomPages.slice(0, browsedProjects)]) {
      await run.open(name);
      assert.deepEqual(await run.page.axe(), [], `${name} as loaded`);
      assert.equal(await openEveryBranch(run.page), 0, `${name}: every branch open`);
      assert.deepEqual(await run.page.axe(), [], `${name} with every branch open`);
      // Items whose title shows no text are there to be named.
      nameless += await run.page.evaluate(() => [...document.querySelectorAll('#pomeli [role=treeitem]')]
        .filter((a) => !a.textContent.trim()).length);
    }
    assert.ok(nameless > 0, 'the random projects hold items without a text');
  });
});
