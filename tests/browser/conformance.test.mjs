// The "HTML5" pages as conforming documents: the Nu HTML Checker finds no
// error in the golden pages nor in pages of projects made of random values,
// and axe-core (with every tree item named) finds no violation in them, in
// each state a reader meets: as loaded, every branch open, filtered, in the
// dark palette and right to left. The checker also reads the documents as
// the script left them in each of those states.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { describe, it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { randomProject } from './random_projects.mjs';
import { buildPage, checkerErrors, eachBrowser, siteDir, writerTool } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const goldenDir = path.resolve(here, '../golden/pages');

// How many random projects the checker and the browsers see; more through
// POMELI2_RANDOM_PROJECTS=checked,browsed. Each browsed one is seen in five
// states in each browser.
const [checkedProjects, browsedProjects] = (process.env.POMELI2_RANDOM_PROJECTS || '300,60').split(',').map(Number);

const dir = siteDir();
const goldenPages = fs.readdirSync(goldenDir).filter((f) => f.startsWith('html5-')).map((f) => path.join(goldenDir, f));
const randomPages = [];
// A browsed project is also written with the filter box and the dark
// palette ("-x"), and right to left ("-rtl"): settings lines after the
// project's own, which the reader takes as the last word.
const variants = { '': '', '-x': '[Filter]\t1\r\n[Dark]\t1\r\n', '-rtl': '[Dir]\trtl\r\n[Lang]\tar\r\n' };
for (let seed = 1; seed <= checkedProjects; ++seed) {
  for (const [suffix, lines] of Object.entries(variants)) {
    if (suffix && seed > browsedProjects) continue;
    const project = path.join(dir, `random${seed}${suffix}.pml`);
    fs.writeFileSync(project, Buffer.concat([randomProject(seed), Buffer.from(lines)]));
    execFileSync(writerTool, [project, path.join(dir, `random${seed}${suffix}.html`)]);
  }
  randomPages.push(`random${seed}.html`);
}
const builtPages = ['html5-all', 'html5-unite', 'html5-nested', 'html5-frames', 'html5-site']
  .map((p) => buildPage(dir, p, ['--copy-images']));

const only = (errors) => Object.fromEntries(Object.entries(errors).filter(([, list]) => list.length));

describe('Nu HTML Checker on the HTML5 pages', () => {
  it('finds no error in the golden pages, nor in the pages pomeli2-build writes', () => {
    const files = [...goldenPages, ...builtPages.map((p) => path.join(dir, p))];
    assert.equal(goldenPages.length, 4);
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
    const nav = document.getElementById('pomeli');
    const ids = [...nav.querySelectorAll('a[id]')].map((a) => a.id);
    localStorage.setItem('pomeli2:' + nav.getAttribute('aria-label'), [nav.dataset.version, ...ids].join(' '));
  });
  await page.reload();
  return page.evaluate(() => document.querySelectorAll('#pomeli [aria-expanded="false"]').length);
}

// In the page: the filter box given the start of the last item's text that
// has one, so that its ancestors show too; the number of items shown, or
// -1 when no item has a text.
function filterByLastItem() {
  const items = [...document.querySelectorAll('#pomeli li > a:first-child')];
  const named = items.filter((a) => a.textContent.trim()).pop();
  const box = document.getElementById('pomeli-q');
  box.value = named ? named.textContent.trim().slice(0, 2) : 'a';
  box.dispatchEvent(new Event('input'));
  return named ? items.filter((a) => a.getClientRects().length).length : -1;
}

// The documents as the script left them, for the checker.
const states = siteDir();
async function keepState(page, name) {
  const html = await page.evaluate(() => '<!DOCTYPE html>\n' + document.documentElement.outerHTML);
  fs.writeFileSync(path.join(states, `${name}.html`), html);
}

eachBrowser(', HTML5 conformance', dir, (run) => {
  it(`axe finds no violation in the built pages and ${browsedProjects} random ones, in five states`, async () => {
    let nameless = 0;
    const check = async (name, state) => {
      await keepState(run.page, `${run.kind.name}-${name}-${state}`);
      assert.deepEqual(await run.page.axe(), [], `${name} ${state}`);
    };
    const browsed = randomPages.slice(0, browsedProjects).map((p) => p.replace('.html', ''));
    for (const name of [...builtPages.map((p) => p.replace('.html', '')), ...browsed]) {
      const random = browsed.includes(name);
      await run.open(`${name}.html`);
      await check(name, 'as loaded');
      assert.equal(await openEveryBranch(run.page), 0, `${name}: every branch open`);
      await check(name, 'all open');
      // Items whose title shows no text are there to be named.
      nameless += await run.page.evaluate(() => [...document.querySelectorAll('#pomeli [role=treeitem]')]
        .filter((a) => !a.textContent.trim()).length);
      if (!random) {
        if (!(await run.page.evaluate(() => !!document.getElementById('pomeli-q')))) continue;
        await run.open(`${name}.html`);
        assert.notEqual(await run.page.evaluate(filterByLastItem), 0, `${name}: something shown`);
        await check(name, 'filtered');
        continue;
      }
      await run.open(`${name}-x.html`);
      assert.notEqual(await run.page.evaluate(filterByLastItem), 0, `${name}: something shown`);
      await check(name, 'filtered');
      await run.open(`${name}-rtl.html`);
      await check(name, 'right to left');
    }
    assert.ok(nameless > 0, 'the random projects hold items without a text');
    // The dark palette in the system's dark mode.
    const dark = await run.kind.launch({ dark: true });
    try {
      const page = await dark.newPage();
      for (const name of ['html5-site', ...browsed.map((p) => `${p}-x`)]) {
        await page.goto(run.url(`${name}.html`));
        assert.deepEqual(await page.axe(), [], `${name} dark`);
      }
      assert.deepEqual(page.errors, []);
    } finally {
      await dark.close();
    }
  });
});

describe('Nu HTML Checker on the HTML5 pages as the script leaves them', () => {
  it('finds no error in any state the browsers were in', () => {
    const files = fs.readdirSync(states).map((f) => path.join(states, f));
    assert.ok(files.length > 0, 'the browsers ran first');
    assert.deepEqual(only(checkerErrors(files)), {});
  });
});
