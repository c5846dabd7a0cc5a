// ESLint for the scripts that the menu pages carry; lint.test.mjs runs it
// with the repository as its folder (by hand, from there:
// tests/browser/node_modules/.bin/eslint -c tests/browser/eslint.config.mjs res/scripts/html5).
// Only rules that find faults: the scripts' style is that of their time and
// their bytes are fixed by the page goldens.

// Faults in any script.
const faults = {
  'for-direction': 'error',
  'no-compare-neg-zero': 'error',
  'no-cond-assign': 'error',
  'no-constant-binary-expression': 'error',
  'no-constant-condition': 'error',
  'no-delete-var': 'error',
  'no-dupe-args': 'error',
  'no-dupe-else-if': 'error',
  'no-dupe-keys': 'error',
  'no-duplicate-case': 'error',
  'no-empty': ['error', { allowEmptyCatch: true }],
  'no-empty-character-class': 'error',
  'no-ex-assign': 'error',
  'no-fallthrough': 'error',
  'no-func-assign': 'error',
  'no-global-assign': 'error',
  // A function declared inside a block means different things in different
  // old browsers.
  'no-inner-declarations': ['error', 'functions'],
  'no-invalid-regexp': 'error',
  'no-irregular-whitespace': 'error',
  'no-loop-func': 'error',
  'no-loss-of-precision': 'error',
  'no-obj-calls': 'error',
  'no-octal': 'error',
  'no-redeclare': 'error',
  'no-self-assign': 'error',
  'no-self-compare': 'error',
  'no-shadow-restricted-names': 'error',
  'no-sparse-arrays': 'error',
  'no-undef': 'error',
  'no-unexpected-multiline': 'error',
  'no-unreachable': 'error',
  'no-unreachable-loop': 'error',
  'no-unsafe-finally': 'error',
  'no-unsafe-negation': 'error',
  'no-unused-expressions': 'error',
  'no-unused-labels': 'error',
  'no-unused-vars': 'error',
  'no-useless-assignment': 'error',
  'use-isnan': 'error',
  'valid-typeof': 'error',
};

export default [
  {
    // The SCRIPT element of a page in one of the four old browser modes, as
    // pomeli2-build writes it: lint.test.mjs lints it under this name (there
    // is no such folder), since res/scripts/tree holds only its pieces.
    files: ['tree-script/*.js'],
    languageOptions: {
      ecmaVersion: 3,
      sourceType: 'script',
      globals: {
        document: 'readonly', window: 'readonly', top: 'readonly', setTimeout: 'readonly', clearTimeout: 'readonly',
        // The script keeps its counters as implicit globals, written before
        // they are read; a var for them would change every page.
        i: 'writable', j: 'writable', Pos: 'writable', Count: 'writable', lastitem: 'writable',
      },
    },
    rules: {
      ...faults,
      // Its functions are called from the items' onClick and the BODY's onLoad.
      'no-unused-vars': ['error', { vars: 'local' }],
    },
  },
  {
    // Where branches close animated, CloseTree still sets IdNo, which no var
    // declares there and nothing reads.
    files: ['tree-script/*-closeitems.js'],
    languageOptions: { globals: { IdNo: 'writable' } },
  },
  {
    // The script of the "HTML5" mode, the same in every page.
    files: ['res/scripts/html5/*.js'],
    languageOptions: {
      // ES5 syntax: a browser that cannot parse it still runs the page's
      // first script, which hides the closed branches, and nothing would open them.
      ecmaVersion: 5,
      sourceType: 'script',
      globals: {
        document: 'readonly', window: 'readonly', location: 'readonly', localStorage: 'readonly',
        matchMedia: 'readonly', requestAnimationFrame: 'readonly', parent: 'readonly',
        getComputedStyle: 'readonly', innerHeight: 'readonly', addEventListener: 'readonly',
      },
    },
    rules: {
      ...faults,
      // ES5 needs the name in catch (e) {}: storage may be refused, and then
      // the menu only forgets its open branches.
      'no-unused-vars': ['error', { caughtErrors: 'none' }],
    },
  },
];
