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
    needs_server: 'Glukara cannot start from a file: open this folder through a web server, for example with python3 -m http.server.',
    window_note: 'The window of Glukara. A screen reader cannot read its controls and values in the browser.',
    loading: 'Loading Glukara …',
    no_wasm: 'Glukara cannot run in this browser: it needs WebAssembly, which this browser lacks or has turned off.',
    no_webgl: 'Glukara cannot run in this browser: it needs WebGL, which this browser lacks or has turned off.',
    ended: 'Glukara has ended.',
    crashed: 'Glukara stopped after an error.',
    again: 'Start again',
    licence: 'Licence',
  },
  de: {
    needs_server: 'Glukara startet nicht aus einer Datei: Öffnen Sie diesen Ordner über einen Webserver, zum Beispiel mit python3 -m http.server.',
    window_note: 'Das Fenster von Glukara. Ein Bildschirmleser kann seine Bedienelemente und Werte im Browser nicht vorlesen.',
    loading: 'Glukara wird geladen …',
    no_wasm: 'Glukara läuft in diesem Browser nicht: Es braucht WebAssembly, das dieser Browser nicht hat oder abgeschaltet hat.',
    no_webgl: 'Glukara läuft in diesem Browser nicht: Es braucht WebGL, das dieser Browser nicht hat oder abgeschaltet hat.',
    ended: 'Glukara ist beendet.',
    crashed: 'Glukara wurde nach einem Fehler angehalten.',
    again: 'Neu starten',
    licence: 'Lizenz',
  },
  es: {
    needs_server: 'Glukara no puede arrancar desde un archivo: abra esta carpeta a través de un servidor web, por ejemplo con python3 -m http.server.',
    window_note: 'La ventana de Glukara. Un lector de pantalla no puede leer sus controles ni sus valores en el navegador.',
    loading: 'Cargando Glukara …',
    no_wasm: 'Glukara no puede funcionar en este navegador: necesita WebAssembly, que este navegador no tiene o tiene desactivado.',
    no_webgl: 'Glukara no puede funcionar en este navegador: necesita WebGL, que este navegador no tiene o tiene desactivado.',
    ended: 'Glukara ha terminado.',
    crashed: 'Glukara se ha detenido por un error.',
    again: 'Empezar de nuevo',
    licence: 'Licencia',
  },
  fr: {
    needs_server: 'Glukara ne peut pas démarrer depuis un fichier : ouvrez ce dossier par un serveur web, par exemple avec python3 -m http.server.',
    window_note: 'La fenêtre de Glukara. Un lecteur d’écran ne peut pas lire ses commandes ni ses valeurs dans le navigateur.',
    loading: 'Chargement de Glukara …',
    no_wasm: 'Glukara ne peut pas fonctionner dans ce navigateur : il lui faut WebAssembly, que ce navigateur n’a pas ou a désactivé.',
    no_webgl: 'Glukara ne peut pas fonctionner dans ce navigateur : il lui faut WebGL, que ce navigateur n’a pas ou a désactivé.',
    ended: 'Glukara est terminé.',
    crashed: 'Glukara s’est arrêté à la suite d’une erreur.',
    again: 'Recommencer',
    licence: 'Licence',
  },
  it: {
    needs_server: 'Glukara non può avviarsi da un file: aprite questa cartella tramite un server web, per esempio con python3 -m http.server.',
    window_note: 'La finestra di Glukara. Uno screen reader non può leggerne i comandi e i valori nel browser.',
    loading: 'Caricamento di Glukara …',
    no_wasm: 'Glukara non può funzionare in questo browser: richiede WebAssembly, che questo browser non ha o ha disattivato.',
    no_webgl: 'Glukara non può funzionare in questo browser: richiede WebGL, che questo browser non ha o ha disattivato.',
    ended: 'Glukara è terminato.',
    crashed: 'Glukara si è fermato per un errore.',
    again: 'Ricomincia',
    licence: 'Licenza',
  },
  nl: {
    needs_server: 'Glukara kan niet vanuit een bestand starten: open deze map via een webserver, bijvoorbeeld met python3 -m http.server.',
    window_note: 'Het venster van Glukara. Een schermlezer kan de bedieningselementen en waarden ervan in de browser niet voorlezen.',
    loading: 'Glukara wordt geladen …',
    no_wasm: 'Glukara werkt niet in deze browser: het heeft WebAssembly nodig, dat deze browser niet heeft of heeft uitgeschakeld.',
    no_webgl: 'Glukara werkt niet in deze browser: het heeft WebGL nodig, dat deze browser niet heeft of heeft uitgeschakeld.',
    ended: 'Glukara is beëindigd.',
    crashed: 'Glukara is gestopt na een fout.',
    again: 'Opnieuw beginnen',
    licence: 'Licentie',
  },
  pt: {
    needs_server: 'O Glukara não arranca a partir de um ficheiro: abra esta pasta através de um servidor web, por exemplo com python3 -m http.server.',
    window_note: 'A janela do Glukara. Um leitor de ecrã não consegue ler os seus controlos e valores no navegador.',
    loading: 'A carregar o Glukara …',
    no_wasm: 'O Glukara não funciona neste navegador: precisa de WebAssembly, que este navegador não tem ou desativou.',
    no_webgl: 'O Glukara não funciona neste navegador: precisa de WebGL, que este navegador não tem ou desativou.',
    ended: 'O Glukara terminou.',
    crashed: 'O Glukara parou depois de um erro.',
    again: 'Começar de novo',
    licence: 'Licença',
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

document.querySelector('#licence a').textContent = say.licence;
document.getElementById('screen-note').textContent = say.window_note;
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
  showCanvas: () => {
    notice.hidden = true;
    screen.hidden = false;
    screen.focus();
  },
  showError: () => show_notice(say.crashed, true),
  showExit: () => show_notice(say.crashed, true),
});

// Browsers refuse to fetch the program for a page opened as a file.
if (location.protocol === 'file:')
  show_notice(say.needs_server, false);
else if (!loader.webAssemblySupported)
  show_notice(say.no_wasm, false);
else if (!loader.webGLSupported)
  show_notice(say.no_webgl, false);
else {
  message.textContent = say.loading;
  loader.loadEmscriptenModule('glukara');
}
