// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "translations.h"
#include "glukara_code.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <memory>

namespace
{

// The model keeps its texts in plain C++, where lupdate cannot see them as
// translatable: they are marked here, word for word, under a context of
// their own.
constexpr const char* model_context = "glukara_code";
constexpr std::array model_texts = {
    QT_TRANSLATE_NOOP("glukara_code", "The blood glucose level is within normal limits."),
    QT_TRANSLATE_NOOP("glukara_code",
                      "Blood glucose is high but still within the acceptable range."),
    QT_TRANSLATE_NOOP("glukara_code",
                      "Blood glucose is low but still within the acceptable range."),
    QT_TRANSLATE_NOOP("glukara_code",
                      "Blood glucose is too high and cells will be losing water due "
                      "to the low water potential of the blood plasma."),
    QT_TRANSLATE_NOOP("glukara_code", "Blood glucose is far too high. Tissues will be dehydrating "
                                      "and are likely to be seriously damaged."),
    QT_TRANSLATE_NOOP("glukara_code", "Blood glucose is below normal. This is likely to lead to "
                                      "tiredness and lack of concentration."),
    QT_TRANSLATE_NOOP("glukara_code", "Blood glucose is very low. The person will experience "
                                      "slurred speech and blurred vision."),
    QT_TRANSLATE_NOOP("glukara_code", "The person is unconscious.  This is hypoglycaemic coma."),
    QT_TRANSLATE_NOOP("glukara_code", "resting glucose use"),
    QT_TRANSLATE_NOOP("glukara_code", "glucose use when running"),
    QT_TRANSLATE_NOOP("glukara_code", "glucose input from a meal"),
    QT_TRANSLATE_NOOP("glukara_code", "effect of insulin"),
    QT_TRANSLATE_NOOP("glukara_code", "effect of glucagon"),
    QT_TRANSLATE_NOOP("glukara_code", "glycogen store"),
    QT_TRANSLATE_NOOP("glukara_code", "Invalid floating-point operation"),
    QT_TRANSLATE_NOOP("glukara_code", "Overflow"),
};

// Those installed by the last call; they belong to the application.
QPointer<QTranslator> own_translator;
QPointer<QTranslator> qt_translator;
char installed_separator = glukara_code::decimal_point;

void remove(QPointer<QTranslator>& translator)
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

bool install_translations(const QLocale& locale)
{
    remove(own_translator);
    remove(qt_translator);
    installed_separator = glukara_code::decimal_point;
    auto own = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!own->load(locale, QStringLiteral("glukara"), QStringLiteral("_"),
                   QStringLiteral(":/i18n")))
        return false;
    // Only together with glukara's own, so that a dialog never speaks another
    // language than the window.
    // The program carries Qt's translations where the system has none to
    // share (Windows); elsewhere they are the system's.
    auto qt = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), QStringLiteral(":/i18n")) ||
        qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qt_translator = qt.release();
    }
    QCoreApplication::installTranslator(own.get());
    if (QLocale(own->language()).decimalPoint() ==
        QString(QLatin1Char(glukara_code::decimal_comma)))
        installed_separator = glukara_code::decimal_comma;
    own_translator = own.release();
    return true;
}

char decimal_separator()
{
    return installed_separator;
}

QString model_text(std::string_view english)
{
    const auto marked = std::find_if(model_texts.begin(), model_texts.end(),
                                     [&](const char* text) { return english == text; });
    if (marked == model_texts.end())
        return QString::fromUtf8(english.data(), qsizetype(english.size()));
    return QCoreApplication::translate(model_context, *marked);
}
