// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara in the language of the user's locale.
#pragma once

#include <QString>
#include <string_view>

class QLocale;

// Installs glukara's translation for `locale` and, with it, Qt's own for the
// same language (the buttons of Qt's dialogs), in place of those a previous
// call installed. Without a translation for the locale nothing is installed
// and the texts stay English. Returns whether a translation was found.
bool install_translations(const QLocale& locale);

// The character that the installed language writes between a number's whole
// part and its fraction: the window's language decides it, not the system's
// number settings, so that a German window on an English system writes a
// comma, as its class does.
char decimal_separator();

// A text of the model (a band's message, a settings entry, an error) in the
// installed language; a text the model does not have comes back unchanged.
QString model_text(std::string_view english);
