// make lint's JavaScript linter: the page, its service worker and the module's start-up script
// (the browser's), the benchmarks and the browser tests (node's, handing functions to the page).
// eslint:recommended and a few rules that catch faults; of layout, only what the code keeps.

import js from '@eslint/js';
import stylistic from '@stylistic/eslint-plugin';
import globals from 'globals';

// The build puts values in for @NAME@ (tools/web-page.py): the linter reads null in their place,
// padded to the placeholder's length so that what it reports stands in the right column.
const placeholders = {
    meta: {name: 'fotonar-placeholders'},
    preprocess: (text) => [text.replace(/@[A-Z_]+@/g, (name) => 'null'.padEnd(name.length))],
    postprocess: (messages) => messages.flat(),
    supportsAutofix: false,
};

export default [
    js.configs.recommended,
    {
        linterOptions: {reportUnusedDisableDirectives: 'error'},
        plugins: {'@stylistic': stylistic},
        rules: {
            'eqeqeq': 'error',
            'no-implicit-globals': 'error',
            'no-return-assign': 'error',
            'no-self-compare': 'error',
            'no-shadow': 'error', // as -Wshadow in the C++
            'no-template-curly-in-string': 'error',
            'no-throw-literal': 'error',
            'no-unused-private-class-members': 'error',
            'no-use-before-define': ['error', {functions: false, classes: false}],
            'no-useless-concat': 'error',
            'no-useless-return': 'error',
            'no-var': 'error',
            'object-shorthand': 'error',
            'prefer-arrow-callback': 'error',
            'prefer-const': 'error',
            'radix': 'error',
            // Layout as the code has it (there is no formatter for it, as clang-format is for C++).
            '@stylistic/arrow-parens': ['error', 'always'],
            '@stylistic/brace-style': ['error', '1tbs', {allowSingleLine: true}],
            '@stylistic/comma-dangle': ['error', 'always-multiline'],
            '@stylistic/comma-spacing': 'error',
            '@stylistic/eol-last': 'error',
            '@stylistic/key-spacing': 'error',
            '@stylistic/keyword-spacing': 'error',
            '@stylistic/no-multiple-empty-lines': ['error', {max: 1}],
            '@stylistic/no-tabs': 'error',
            '@stylistic/no-trailing-spaces': 'error',
            '@stylistic/object-curly-spacing': ['error', 'never'],
            '@stylistic/quotes': ['error', 'single', {avoidEscape: true}],
            '@stylistic/semi': 'error',
            '@stylistic/space-infix-ops': 'error',
        },
    },
    {
        files: ['src/web/page/*.js', 'src/web/startcore.js'],
        processor: placeholders,
        languageOptions: {sourceType: 'script', globals: {...globals.browser}},
        rules: {'strict': ['error', 'global']},
    },
    {
        files: ['src/web/page/sw.js'],
        languageOptions: {globals: {...globals.serviceworker}},
    },
    {
        files: ['src/web/startcore.js'],
        // Appended to fotonar-core.js, which defines createFotonarCore: not a script of its own,
        // so no 'use strict' of its own.
        languageOptions: {globals: {createFotonarCore: 'readonly'}},
        rules: {'strict': 'off'},
    },
    {
        files: ['bench/**/*.mjs', 'tests/web/*.mjs', 'tools/lint/*.mjs'],
        // Node's scripts, with the functions they hand to the page to run there (page.evaluate):
        // those see the browser's globals and the page's own.
        languageOptions: {
            sourceType: 'module',
            globals: {...globals.node, ...globals.browser, Fotonar: 'readonly'},
        },
    },
];
