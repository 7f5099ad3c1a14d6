// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Loads glukara into the page and says what happens around it: loading, a
// browser that cannot run it, and its end.
'use strict';

// The page's own texts, in the languages of the program. The program itself
// learns the browser's language from the LANG that the runtime derives from
// it; the page reads the same first preference.
const texts = {
  en: {
    open_one_file: 'To start Glukara from a file, open glukara.html, which lies beside this page:',
    loading: 'Loading Glukara …',
    no_wasm: 'Glukara cannot run in this browser: it needs WebAssembly, which this browser lacks or has turned off.',
    no_webgl: 'Glukara cannot run in this browser: it needs WebGL, which this browser lacks or has turned off.',
    ended: 'Glukara has ended.',
    crashed: 'Glukara stopped after an error.',
    again: 'Start again',
    licence: 'Licence',
    guide: 'Guide',
  },
  de: {
    open_one_file: 'Um Glukara aus einer Datei zu starten, öffnen Sie glukara.html, das neben dieser Seite liegt:',
    loading: 'Glukara wird geladen …',
    no_wasm: 'Glukara läuft in diesem Browser nicht: Es braucht WebAssembly, das dieser Browser nicht hat oder abgeschaltet hat.',
    no_webgl: 'Glukara läuft in diesem Browser nicht: Es braucht WebGL, das dieser Browser nicht hat oder abgeschaltet hat.',
    ended: 'Glukara ist beendet.',
    crashed: 'Glukara wurde nach einem Fehler angehalten.',
    again: 'Neu starten',
    licence: 'Lizenz',
    guide: 'Leitfaden',
  },
  es: {
    open_one_file: 'Para iniciar Glukara desde un archivo, abra glukara.html, que está junto a esta página:',
    loading: 'Cargando Glukara …',
    no_wasm: 'Glukara no puede funcionar en este navegador: necesita WebAssembly, que este navegador no tiene o tiene desactivado.',
    no_webgl: 'Glukara no puede funcionar en este navegador: necesita WebGL, que este navegador no tiene o tiene desactivado.',
    ended: 'Glukara ha terminado.',
    crashed: 'Glukara se ha detenido por un error.',
    again: 'Empezar de nuevo',
    licence: 'Licencia',
    guide: 'Guía',
  },
  fr: {
    open_one_file: 'Pour démarrer Glukara depuis un fichier, ouvrez glukara.html, qui se trouve à côté de cette page :',
    loading: 'Chargement de Glukara …',
    no_wasm: 'Glukara ne peut pas fonctionner dans ce navigateur : il lui faut WebAssembly, que ce navigateur n’a pas ou a désactivé.',
    no_webgl: 'Glukara ne peut pas fonctionner dans ce navigateur : il lui faut WebGL, que ce navigateur n’a pas ou a désactivé.',
    ended: 'Glukara est terminé.',
    crashed: 'Glukara s’est arrêté à la suite d’une erreur.',
    again: 'Recommencer',
    licence: 'Licence',
    guide: 'Guide',
  },
  it: {
    open_one_file: 'Per avviare Glukara da un file, aprite glukara.html, che si trova accanto a questa pagina:',
    loading: 'Caricamento di Glukara …',
    no_wasm: 'Glukara non può funzionare in questo browser: richiede WebAssembly, che questo browser non ha o ha disattivato.',
    no_webgl: 'Glukara non può funzionare in questo browser: richiede WebGL, che questo browser non ha o ha disattivato.',
    ended: 'Glukara è terminato.',
    crashed: 'Glukara si è fermato per un errore.',
    again: 'Ricomincia',
    licence: 'Licenza',
    guide: 'Guida',
  },
  nl: {
    open_one_file: 'Om Glukara vanuit een bestand te starten, opent u glukara.html, dat naast deze pagina staat:',
    loading: 'Glukara wordt geladen …',
    no_wasm: 'Glukara werkt niet in deze browser: het heeft WebAssembly nodig, dat deze browser niet heeft of heeft uitgeschakeld.',
    no_webgl: 'Glukara werkt niet in deze browser: het heeft WebGL nodig, dat deze browser niet heeft of heeft uitgeschakeld.',
    ended: 'Glukara is beëindigd.',
    crashed: 'Glukara is gestopt na een fout.',
    again: 'Opnieuw beginnen',
    licence: 'Licentie',
    guide: 'Handleiding',
  },
  pt: {
    open_one_file: 'Para arrancar o Glukara a partir de um ficheiro, abra o glukara.html, que está ao lado desta página:',
    loading: 'A carregar o Glukara …',
    no_wasm: 'O Glukara não funciona neste navegador: precisa de WebAssembly, que este navegador não tem ou desativou.',
    no_webgl: 'O Glukara não funciona neste navegador: precisa de WebGL, que este navegador não tem ou desativou.',
    ended: 'O Glukara terminou.',
    crashed: 'O Glukara parou depois de um erro.',
    again: 'Começar de novo',
    licence: 'Licença',
    guide: 'Guia',
  },
};

const preferred = ((navigator.languages && navigator.languages[0]) || navigator.language || 'en');
const language = preferred.toLowerCase().split('-')[0];
const say = texts[language] || texts.en;
if (texts[language])
  document.documentElement.lang = language;

const screen = document.getElementById('screen');
const notice = document.getElementById('notice');
const message = document.getElementById('message');
const progress = document.getElementById('progress');
const again = document.getElementById('again');

// Qt's loader asks for the program's two files with fetch(), once it has
// looked the browser over. glukara.html carries them in itself, base64 in
// elements named after them: opened as a file, a page may fetch nothing, so
// the loader's requests are answered from there. A site's page asks for them
// itself as this script starts, the download under way while the loader
// checks the browser, and hands the loader those answers; where the loader
// then finds no WebGL, the download stops. (A preload link would do the same
// in two engines, and download the program twice in Safari's.)
const program = document.querySelector('meta[name="glukara-program"]').content;
const program_files = { [`${program}.js`]: 'text/javascript', [`${program}.wasm`]: 'application/wasm' };
const carried = document.getElementById(`carried-${program}.wasm`) !== null;
const answers = new Map();
// A browser too old to stop a download (Safari before 12.1) waits for the
// loader, as it would to be told that it cannot run the program.
const early_downloads = 'AbortController' in window ? new AbortController() : null;
for (const [name, type] of Object.entries(program_files)) {
  if (carried) {
    answers.set(name, () => {
      const element = document.getElementById(`carried-${name}`);
      const text = atob(element.textContent);
      element.remove();
      const bytes = new Uint8Array(text.length);
      for (let i = 0; i < text.length; ++i)
        bytes[i] = text.charCodeAt(i);
      return Promise.resolve(new Response(bytes, { headers: { 'Content-Type': type } }));
    });
  } else if (early_downloads !== null && location.protocol !== 'file:' &&
             typeof WebAssembly === 'object' && 'WebGLRenderingContext' in window) {
    const answer = fetch(name, { signal: early_downloads.signal });
    // A failed download is the loader's to report, when it asks.
    answer.catch(() => {});
    answers.set(name, () => answer);
  }
}
if (answers.size > 0) {
  const fetch_from_network = window.fetch.bind(window);
  window.fetch = (resource, options) => {
    const answer = answers.get(resource);
    if (answer === undefined)
      return fetch_from_network(resource, options);
    answers.delete(resource);
    return answer();
  };
}

// Served over the web, the browser keeps the site after the first visit
// (service-worker.js), so that it opens again with no network. Asked for once
// the window shows: by then the program is in the browser's HTTP cache, from
// which the worker takes it instead of downloading it a second time.
// The browser is asked to keep the site's storage too, so that a Chromebook
// short of space does not drop the offline copy.
function keep_for_offline() {
  if (carried || !('serviceWorker' in navigator))
    return;
  navigator.serviceWorker.register('service-worker.js')
    .then(() => navigator.storage && navigator.storage.persist())
    .catch((error) => console.warn(`Glukara will not open without a network: ${error}`));
}

document.querySelector('#licence a').textContent = say.licence;
// The class guide in the page's language, if the site carries it.
const guide = document.querySelector('#guide');
if (guide) {
  guide.textContent = say.guide;
  if (texts[language] && language !== 'en')
    guide.href = `guide.${language}.html`;
}
again.textContent = say.again;
again.addEventListener('click', () => location.reload());

function show_notice(text, offer_again) {
  message.textContent = text;
  progress.hidden = true;
  again.hidden = !offer_again;
  screen.hidden = true;
  notice.hidden = false;
  if (offer_again)
    again.focus();
}

// Qt asks for the clipboard's permissions at start and never looks at the
// answer. Safari's engine knows no permissions of those names and refuses,
// which would leave an error in the console for nothing: the refusal is taken
// here, while whoever awaits the answer still gets it.
if (navigator.permissions && navigator.permissions.query) {
  const query = navigator.permissions.query.bind(navigator.permissions);
  navigator.permissions.query = (descriptor) => {
    const answer = query(descriptor);
    if (String(descriptor && descriptor.name).startsWith('clipboard-'))
      answer.catch(() => {});
    return answer;
  };
}

// A page cannot end its program; the program closes its window, stops its
// clock and says so with this event.
window.addEventListener('glukara-ended', () => show_notice(say.ended, true));

const loader = QtLoader({
  canvasElements: [screen],
  showLoader: () => {
    message.textContent = say.loading;
    progress.hidden = false;
    notice.hidden = false;
    screen.hidden = true;
  },
  // The program gives the keyboard focus to the element of its focused
  // control once its window is shown.
  showCanvas: () => {
    notice.hidden = true;
    screen.hidden = false;
    keep_for_offline();
  },
  showError: () => show_notice(say.crashed, true),
  showExit: () => show_notice(say.crashed, true),
});

// Browsers refuse to fetch the program for a page opened as a file.
if (location.protocol === 'file:' && !carried) {
  show_notice(say.open_one_file, false);
  document.getElementById('one-file').hidden = false;
} else if (!loader.webAssemblySupported)
  show_notice(say.no_wasm, false);
else if (!loader.webGLSupported) {
  if (early_downloads !== null)
    early_downloads.abort();
  show_notice(say.no_webgl, false);
}
else {
  message.textContent = say.loading;
  loader.loadEmscriptenModule(program);
}
