// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The class guides as a teacher opens them from a download, in Chromium: each
// page in its language, opened as a file, with every picture shown, every
// link within it leading to a heading, every link to a guide leading to the
// guide in that language, axe-core's WCAG rules met, and printed on A4 into
// OUT_DIR/guide*.pdf, on more than one page, with its first page as a picture.
//   node guide_pages.js GUIDE_DIR OUT_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { pathToFileURL } = require('url');
const { open_chromium } = require('./engines/chromium.js');
const { check, fail, note, finish } = require('./lib/tally.js');

const [folder, out] = process.argv.slice(2);
if (!folder || !out) {
  console.error('usage: node guide_pages.js GUIDE_DIR OUT_DIR');
  process.exit(2);
}
fs.mkdirSync(out, { recursive: true });
const axe_source = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

// The guide of each of the window's languages, and the word that each one's
// links to the others show.
const guides = {
  en: ['guide.html', 'English'],
  de: ['guide.de.html', 'Deutsch'],
  es: ['guide.es.html', 'Español'],
  fr: ['guide.fr.html', 'Français'],
  it: ['guide.it.html', 'Italiano'],
  nl: ['guide.nl.html', 'Nederlands'],
  pt: ['guide.pt.html', 'Português'],
};

async function one_guide(page, language, file) {
  const url = pathToFileURL(path.join(folder, file)).href;
  await page.goto(url, { waitUntil: 'load' });
  const seen = await page.evaluate(() => ({
    lang: document.documentElement.lang,
    title: document.title,
    pictures: [...document.images].map((i) => ({ alt: i.alt, width: i.naturalWidth })),
    anchors: [...document.querySelectorAll('a[href^="#"]')].map((a) => a.getAttribute('href'))
      .filter((href) => !document.getElementById(decodeURIComponent(href.slice(1)))),
    languages: [...document.querySelectorAll('a[href$=".html"]')].map((a) => [a.textContent, a.getAttribute('href')]),
  }));
  check(seen.lang === language, `${file}: the page is in ${language}`, seen.lang);
  check(seen.title.startsWith('glukara'), `${file}: its title names glukara`, seen.title);
  check(seen.pictures.length === 9 && seen.pictures.every((p) => p.width > 0 && p.alt !== ''),
        `${file}: the overview and the eight experiments' pictures show, each with a text`,
        JSON.stringify(seen.pictures));
  check(seen.anchors.length === 0, `${file}: every link within it leads to a heading`,
        seen.anchors.join(', ') || 'none broken');
  // In the order of the line at every guide's top.
  const expected = ['de', 'en', 'es', 'fr', 'it', 'nl', 'pt'].map((code) => [guides[code][1], guides[code][0]]);
  check(JSON.stringify(seen.languages) === JSON.stringify(expected),
        `${file}: it links to the guide in each language`, JSON.stringify(seen.languages));

  await page.evaluate(axe_source);
  const violations = await page.evaluate(() => window.axe.run(document, {
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] },
  }).then((r) => r.violations.map((v) => `${v.id} (${v.nodes.length}): ${v.help}`)));
  check(violations.length === 0, `${file}: axe-core finds nothing against WCAG 2.2 AA`,
        violations.join('; ') || 'none');

  const pdf = path.join(out, file.replace(/\.html$/, '.pdf'));
  await page.pdf({ path: pdf, format: 'A4', printBackground: true });
  const pages = (fs.readFileSync(pdf, 'latin1').match(/\/Type\s*\/Page(?![s\w])/g) || []).length;
  check(pages > 1, `${file}: printed on A4, on pages of their own`, `${pages} pages in ${pdf}`);
}

// A language's link followed as a teacher clicks it.
async function follow(page) {
  await page.goto(pathToFileURL(path.join(folder, 'guide.html')).href, { waitUntil: 'load' });
  await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), page.click('text=Deutsch')]);
  const lang = await page.evaluate(() => document.documentElement.lang);
  check(lang === 'de', 'a click on Deutsch in the English guide opens the German one', lang);
}

(async () => {
  const { page, problems, close } = await open_chromium();
  try {
    for (const [language, [file]] of Object.entries(guides))
      await one_guide(page, language, file);
    await follow(page);
    check(problems.length === 0, 'no errors in the console', problems.join(' | '));
  } catch (e) {
    fail(e.message);
  } finally {
    await close();
  }
  note(`the guides printed into ${out}`);
  finish();
})();
