// The page scripts through ESLint (eslint.config.mjs): the HTML5 mode's
// script file as it is, and the old modes' script as pomeli2-build writes it
// for every browser mode and close option, since its templates are pieces
// with slots. Any message fails, warnings included.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, describe, it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { ESLint } from 'eslint';
import { buildTool, projectsDir, siteDir } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const eslint = new ESLint({ cwd: root, overrideConfigFile: path.join(here, 'eslint.config.mjs') });

// Every message as "file:line:column rule: message | source line".
function problems(results, sources = {}) {
  return results.flatMap((r) => {
    const lines = (sources[r.filePath] ?? r.source ?? '').split(/\r?\n/);
    return r.messages.map((m) => `${path.relative(root, r.filePath)}:${m.line}:${m.column} ${m.ruleId}: ${m.message}` +
      ` | ${(lines[m.line - 1] ?? '').trim()}`);
  });
}

// The old modes' script under a name of tree-script/ in eslint.config.mjs:
// MODE-OPTION, as below.
async function lintTreeScript(name, script) {
  const filePath = path.join(root, 'tree-script', `${name}.js`);
  return problems(await eslint.lintText(script, { filePath }), { [filePath]: script });
}

// options-all sets every option that adds to the script; these are the
// browser modes and the close options that the editor lets one combine.
const modes = { all: 'IE4-5, NN4, NN6', ie: 'IE4-5 Only', nn4: 'NN4 Only', nn6: 'NN6 Only' };
const closing = { open: [0, 0], closetree: [1, 0], closeitems: [1, 1] };

function withSetting(project, key, value) {
  const line = new RegExp(`^\\[${key}\\]\\t.*$`, 'm');
  assert.match(project, line, `the project sets ${key}`);
  return project.replace(line, `[${key}]\t${value}`);
}

describe('ESLint', () => {
  const dir = siteDir();
  after(() => fs.rmSync(dir, { recursive: true, force: true }));
  // Bytes as latin1 text, so that the Shift-JIS values come through unchanged.
  const base = fs.readFileSync(path.join(projectsDir, 'options-all.pml')).toString('latin1');

  for (const [mode, browser] of Object.entries(modes)) {
    for (const [option, [closeTree, closeItems]] of Object.entries(closing)) {
      const name = `${mode}-${option}`;
      it(`finds no fault in the script of a page (${name})`, async () => {
        let project = withSetting(base, 'Browser', browser);
        project = withSetting(project, 'CloseTree', closeTree);
        project = withSetting(project, 'CloseItems', closeItems);
        const pml = path.join(dir, `${name}.pml`);
        const page = path.join(dir, `${name}.html`);
        fs.writeFileSync(pml, Buffer.from(project, 'latin1'));
        execFileSync(buildTool, [pml, '-o', page], { stdio: ['ignore', 'pipe', 'pipe'], cwd: projectsDir });
        const html = new TextDecoder('shift_jis').decode(fs.readFileSync(page));
        const scripts = [...html.matchAll(/<SCRIPT\b[^>]*>([\s\S]*?)<\/SCRIPT>/gi)].map((m) => m[1]);
        assert.equal(scripts.length, 1, 'the page has one SCRIPT element');
        assert.deepEqual(await lintTreeScript(name, scripts[0]), []);
      });
    }
  }

  it('finds no fault in the HTML5 script', async () => {
    assert.deepEqual(problems(await eslint.lintFiles(['res/scripts/html5/tree.js'])), []);
  });

  // The configuration reaches the old modes' script: an unknown name and an
  // assignment in a condition are found.
  it('reports faults in a script of the old modes', async () => {
    const found = await lintTreeScript('faulty', 'function PullDown(Start,End)\n{\n    if (Start = End) Pulldown(Start);\n}\n');
    assert.deepEqual(found.map((p) => p.split(' ')[1]), ['no-cond-assign:', 'no-undef:']);
  });
});
