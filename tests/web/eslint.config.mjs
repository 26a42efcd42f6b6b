// The lint of the page's scripts (web/) and of their tests (tests/web/): ESLint's recommended rules, with
// the browser's globals for the page and node's for the tests. Run from the top of the tree:
// tests/web/node_modules/.bin/eslint --config tests/web/eslint.config.mjs web tests/web
import js from '@eslint/js';
import globals from 'globals';

export default [
  // The service worker is a template the site's script fills in (its file list and version).
  { ignores: ['tests/web/node_modules/**', 'web/lib/**', 'web/sw.js'] },
  js.configs.recommended,
  {
    files: ['web/**/*.js'],
    languageOptions: { ecmaVersion: 2022, sourceType: 'module', globals: { ...globals.browser } },
  },
  // The program's loader, which emscripten writes, defines createKazoru before the page's script runs.
  { files: ['web/load.js'], languageOptions: { globals: { createKazoru: 'readonly' } } },
  {
    files: ['tests/web/**/*.mjs'],
    // The tests run code in the pages too (page.evaluate): the browser's names are theirs as well.
    languageOptions: { ecmaVersion: 2022, sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
  },
  {
    rules: {
      'no-unused-vars': ['error', { args: 'none', caughtErrors: 'none' }],
      // Japanese text sets its columns apart with the ideographic space.
      'no-irregular-whitespace': ['error', { skipStrings: true, skipTemplates: true }],
    },
  },
];
