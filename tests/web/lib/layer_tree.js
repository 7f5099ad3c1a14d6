// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a screen reader finds it in Chromium's accessibility tree,
// for the tests that use the page through its layer of elements.
'use strict';
const { open_chromium } = require('../engines/chromium.js');
const { check } = require('./tally.js');
const { poll } = require('./wait.js');

async function launch(locale, options = {}) {
  const { context, page, problems, close } = await open_chromium({ locale, ...options });
  const cdp = await context.newCDPSession(page);
  return { page, cdp, problems, close };
}

// The window as the accessibility tree holds it: the nodes under the main
// landmark named after the window, in the tree's order, with its heading and
// the groups of its frames, each with the names of what it holds.
async function tree(cdp) {
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const by_id = new Map(nodes.map((n) => [n.nodeId, n]));
  const root = nodes.find((n) => !n.ignored && n.role.value === 'main' && n.name &&
                                 n.name.value === 'Glukara');
  const seen = { buttons: [], texts: [], focusable: [], status: '', lines: [], focused: null,
                 dialog: null, heading: null, groups: [] };
  if (!root)
    return seen;
  const property = (n, name) => {
    const p = (n.properties || []).find((q) => q.name === name);
    return p ? p.value.value : undefined;
  };
  const text_under = (n) => {
    const parts = [];
    const walk = (m) => {
      if (m.role.value === 'StaticText' && !m.ignored)
        parts.push(m.name.value);
      for (const c of m.childIds || [])
        if (by_id.has(c))
          walk(by_id.get(c));
    };
    walk(n);
    return parts;
  };
  const walk = (n, in_control, group) => {
    const role = n.role.value;
    const name = n.name ? n.name.value : '';
    const value = n.value ? String(n.value.value) : undefined;
    let control = in_control;
    if (!n.ignored) {
      if (property(n, 'focused'))
        seen.focused = name;
      if (group && (['button', 'combobox', 'textbox', 'checkbox'].includes(role) ||
                    (role === 'StaticText' && !in_control)))
        group.members.push(name);
      if (role === 'heading') {
        seen.heading = { name, level: property(n, 'level') };
        return;
      } else if (role === 'group') {
        group = { name, members: [] };
        seen.groups.push(group);
      } else if (role === 'alertdialog') {
        const description = n.description ? n.description.value : '';
        seen.dialog = { name, description, buttons: [] };
        control = 'dialog';
      } else if (role === 'button' && in_control === 'dialog') {
        seen.dialog.buttons.push(name);
      } else if (role === 'button') {
        seen.buttons.push(name);
        seen.focusable.push(name);
        control = true;
      } else if (role === 'combobox') {
        seen.list = { name, value, options: [] };
        seen.focusable.push(name);
        control = true;
      } else if (role === 'option' && seen.list) {
        seen.list.options.push(name);
      } else if (role === 'textbox') {
        seen.field = { name, value };
        seen.focusable.push(name);
        control = true;
      } else if (role === 'checkbox') {
        seen.check = { name, checked: property(n, 'checked') };
        seen.focusable.push(name);
        control = true;
      } else if (role === 'status') {
        // The live region's lines, and its newest.
        const lines = text_under(n);
        seen.lines = lines;
        seen.status = lines.length ? lines[lines.length - 1] : '';
        return;
      } else if (role === 'StaticText' && !in_control) {
        seen.texts.push(name);
      }
    }
    for (const c of n.childIds || [])
      if (by_id.has(c))
        walk(by_id.get(c), control, group);
  };
  walk(root, false, null);
  const level = seen.texts.map((t) => /(\d+(?:[.,]\d+)?) mg p/.exec(t)).find((m) => m);
  seen.level = level ? Number(level[1].replace(',', '.')) : NaN;
  return seen;
}

// Waits until `probe` finds what it looks for in the tree; says what the tree
// last held otherwise.
const until = (cdp, what, probe) => poll({ check }, what, () => tree(cdp), probe);

const control = (page, role, name) => page.getByRole(role, { name, exact: true });

module.exports = { launch, tree, until, control };
