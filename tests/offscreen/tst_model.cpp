// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model on its own: conversions, checked arithmetic, bands and ticks.
#include "glukara_code.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

using namespace glukara_code;

namespace
{
constexpr float inf = std::numeric_limits<float>::infinity();
const float nan_value = std::numeric_limits<float>::quiet_NaN();

QString message_of(std::optional<std::string_view> m)
{
    return m ? QString::fromUtf8(m->data(), int(m->size())) : QString();
}

QString band_message(int row)
{
    return message_of(glucose_bands[std::size_t(row - 1)].message);
}

ModelState start_state()
{
    ModelState s;
    reset_values(s);
    return s;
}
} // namespace

class TestModel : public QObject
{
    Q_OBJECT

  private slots:
    void reset_restores_start_values();
    void value_to_text_data();
    void value_to_text();
    void text_to_value_data();
    void text_to_value();
    void value_to_text_with_comma_data();
    void value_to_text_with_comma();
    void text_to_value_with_comma_data();
    void text_to_value_with_comma();
    void round_trip_keeps_seven_digits();
    void checked_arithmetic_data();
    void checked_arithmetic();
    void centring_data();
    void centring();
    void bands_data();
    void bands();
    void band_messages_are_exact();
    void tick_sequences_data();
    void tick_sequences();
    void tick_fault_stops_at_the_faulty_step_data();
    void tick_fault_stops_at_the_faulty_step();
};

void TestModel::reset_restores_start_values()
{
    ModelState s{1, 2, 3, 4, 5, 6, 7, true, true};
    reset_values(s);
    QCOMPARE(s.blood_glucose, 100.0f);
    QCOMPARE(s.meal_input, 40.0f);
    QCOMPARE(s.resting_use, -1.0f);
    QCOMPARE(s.running_use, -5.0f);
    QCOMPARE(s.glycogen_store, 40.0f);
    QCOMPARE(s.insulin_effect, -10.0f);
    QCOMPARE(s.glucagon_effect, 10.0f);
    QCOMPARE(s.is_diabetic, false);
    QCOMPARE(s.is_running, false);
}

void TestModel::value_to_text_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("hundred") << 100.0f << "100";
    QTest::newRow("minus one") << -1.0f << "-1";
    QTest::newRow("minus ten") << -10.0f << "-10";
    QTest::newRow("top of chart") << 180.0f << "180";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("half has a leading zero") << 0.5f << "0.5";
    QTest::newRow("negative fraction") << -2.25f << "-2.25";
    QTest::newRow("one third, seven digits") << 1.0f / 3.0f << "0.3333333";
    QTest::newRow("tenth stored as single") << 0.1f << "0.1";
    QTest::newRow("seven digit whole") << 1234567.0f << "1234567";
    QTest::newRow("eight digits need exponent") << 12345678.0f << "1.234568E+07";
    QTest::newRow("large") << 1e20f << "1E+20";
    QTest::newRow("small") << 1e-5f << "1E-05";
    QTest::newRow("largest finite") << std::numeric_limits<float>::max() << "3.402823E+38";
    QTest::newRow("chart value 97.5") << 97.5f << "97.5";
    QTest::newRow("infinity") << inf << "Infinity";
    QTest::newRow("negative infinity") << -inf << "-Infinity";
    QTest::newRow("not a number") << nan_value << "NaN";
}

void TestModel::value_to_text()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(glukara_code::value_to_text(value)), text);
}

void TestModel::text_to_value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("trailing junk") << "12abc" << 12.0;
    QTest::newRow("inner space") << "1 5" << 15.0;
    QTest::newRow("leading space") << " -5" << -5.0;
    QTest::newRow("tab and line feed") << "\t4\n2" << 42.0;
    QTest::newRow("comma ends number") << "2,5" << 2.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("second point ends number") << "1.2.3" << 1.2;
    QTest::newRow("minus point five") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("exponent") << "1.5E2" << 150.0;
    QTest::newRow("lower-case exponent with sign") << "25e-1" << 2.5;
    QTest::newRow("D exponent") << "1D3" << 1000.0;
    QTest::newRow("exponent without digits") << "1E" << 1.0;
    QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
    QTest::newRow("hex") << "&H10" << 16.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex 16-bit negative") << "&HFFFF" << -1.0;
    QTest::newRow("hex 16-bit lowest") << "&H8000" << -32768.0;
    QTest::newRow("hex beyond 16 bits") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit negative") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex beyond 32 bits") << "&H100000000" << 4294967296.0;
    QTest::newRow("hex no digits") << "&H" << 0.0;
    QTest::newRow("hex stops at junk") << "&H1G" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal 16-bit negative") << "&O177777" << -1.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("beyond double range") << "1e400" << double(inf);
    QTest::newRow("negative beyond range") << "-1e400" << -double(inf);
    QTest::newRow("just beyond double range") << "1.8e308" << double(inf);
    QTest::newRow("below double range") << "1e-400" << 0.0;
    QTest::newRow("exponent of a billion") << "1e1000000000" << double(inf);
    QTest::newRow("exponent of minus a billion") << "1e-1000000000" << 0.0;
    QTest::newRow("absurd exponent digits") << "2e99999999999999999999999999" << double(inf);
    QTest::newRow("thousand digits") << QString(1000, '9') << double(inf);
    QTest::newRow("thousand digits scaled back")
        << QString("1") + QString(999, '0') + "e-998" << 10.0;
    QTest::newRow("thousand fraction zeros") << "0." + QString(1000, '0') + "25e1001" << 2.5;
    QTest::newRow("zero with huge exponent") << "0e999999" << 0.0;
    QTest::newRow("infinity word") << "Infinity" << double(inf);
    QTest::newRow("negative infinity word") << "-Infinity" << -double(inf);
    QTest::newRow("infinity word with junk") << "Infinityx" << 0.0;
}

void TestModel::text_to_value()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(glukara_code::text_to_value(text.toStdString()), value);
}

// The languages of a decimal comma write every number as English does, with
// a comma in place of the point.
void TestModel::value_to_text_with_comma_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0f << "100";
    QTest::newRow("minus one and a half") << -1.5f << "-1,5";
    QTest::newRow("half has a leading zero") << 0.5f << "0,5";
    QTest::newRow("one third, seven digits") << 1.0f / 3.0f << "0,3333333";
    QTest::newRow("chart value 97.5") << 97.5f << "97,5";
    QTest::newRow("exponent") << 1.5e7f << "1,5E+07";
    QTest::newRow("largest finite") << std::numeric_limits<float>::max() << "3,402823E+38";
    QTest::newRow("small") << 1e-5f << "1E-05";
    QTest::newRow("infinity") << inf << "Infinity";
    QTest::newRow("negative infinity") << -inf << "-Infinity";
    QTest::newRow("not a number") << nan_value << "NaN";
}

void TestModel::value_to_text_with_comma()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(glukara_code::value_to_text(value, ',')), text);
}

// A pupil of a decimal-comma language may type either mark; the first one
// ends the whole part, and everything else reads as in English.
void TestModel::text_to_value_with_comma_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "-1,5" << -1.5;
    QTest::newRow("point") << "1.5" << 1.5;
    QTest::newRow("second comma ends number") << "2,5,1" << 2.5;
    QTest::newRow("point after comma ends number") << "1,2.3" << 1.2;
    QTest::newRow("comma after point ends number") << "1.2,3" << 1.2;
    QTest::newRow("comma before exponent") << "1,5E2" << 150.0;
    QTest::newRow("minus comma five") << "-,5" << -0.5;
    QTest::newRow("lone comma") << "," << 0.0;
    QTest::newRow("inner space") << "1 000,5" << 1000.5;
    QTest::newRow("trailing junk") << "12abc" << 12.0;
    QTest::newRow("hex") << "&H10" << 16.0;
    QTest::newRow("hex 16-bit negative") << "&HFFFF" << -1.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("infinity word") << "-Infinity" << -double(inf);
}

void TestModel::text_to_value_with_comma()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(glukara_code::text_to_value(text.toStdString(), ','), value);
}

// A shown value must read back as the same value to within its seven digits,
// and after that one trip showing and reading must be stable: the settings
// panel writes and re-reads values this way on every refresh.
void TestModel::round_trip_keeps_seven_digits()
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::uint32_t> bits;
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t b = bits(random);
        float x;
        std::memcpy(&x, &b, sizeof x);
        if (std::isnan(x))
            continue;
        const std::string text = glukara_code::value_to_text(x);
        const float back = float(glukara_code::text_to_value(text));
        if (std::isinf(x) || x == 0) {
            QCOMPARE(back, x);
        } else {
            // Half a unit in the seventh digit, plus the rounding to single precision.
            const double magnitude = std::fabs(double(x));
            const double tolerance =
                0.5e-6 * std::pow(10.0, std::floor(std::log10(magnitude))) + magnitude * 1.2e-7;
            QVERIFY2(std::fabs(double(back) - double(x)) <= tolerance ||
                         std::fpclassify(x) == FP_SUBNORMAL,
                     text.c_str());
            const std::string again = glukara_code::value_to_text(back);
            QCOMPARE(glukara_code::value_to_text(float(glukara_code::text_to_value(again))), again);
        }
        // A window that writes a comma reads its own text back as the same value.
        QCOMPARE(float(glukara_code::text_to_value(glukara_code::value_to_text(x, ','), ',')),
                 back);
        ++checked;
    }
    QVERIFY(checked > 199000);
    // Just above a power of ten a float is finer than seven digits: the first
    // trip moves it once, the second keeps it.
    const float above = 1.00000006e28f;
    QCOMPARE(glukara_code::value_to_text(above), std::string("1E+28"));
    const float moved = float(glukara_code::text_to_value("1E+28"));
    QCOMPARE(glukara_code::value_to_text(moved), std::string("9.999999E+27"));
    QCOMPARE(float(glukara_code::text_to_value("9.999999E+27")), moved);
    QVERIFY(std::isnan(glukara_code::text_to_value(glukara_code::value_to_text(nan_value))));
}

void TestModel::checked_arithmetic_data()
{
    QTest::addColumn<float>("a");
    QTest::addColumn<float>("b");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<bool>("raises");
    QTest::addColumn<float>("stored");
    const float big = 3e38f;
    QTest::newRow("ordinary sum") << 100.0f << -1.0f << false << false << 99.0f;
    QTest::newRow("sum overflows") << big << big << false << true << inf;
    QTest::newRow("negative sum overflows") << -big << -big << false << true << -inf;
    QTest::newRow("difference overflows") << big << -big << true << true << inf;
    QTest::newRow("infinity minus infinity") << inf << inf << true << true << nan_value;
    QTest::newRow("infinity plus minus infinity") << inf << -inf << false << true << nan_value;
    QTest::newRow("finite plus infinity is no fault") << 5.0f << inf << false << false << inf;
    QTest::newRow("infinity minus finite is no fault") << -inf << 5.0f << true << false << -inf;
    QTest::newRow("step on NaN is no fault") << nan_value << 1.0f << false << false << nan_value;
    QTest::newRow("NaN with infinity is no fault")
        << nan_value << inf << true << false << nan_value;
    QTest::newRow("underflow is no fault")
        << 1e-38f << -0.99e-38f << false << false << 1e-38f + -0.99e-38f;
}

void TestModel::checked_arithmetic()
{
    QFETCH(float, a);
    QFETCH(float, b);
    QFETCH(bool, subtract);
    QFETCH(bool, raises);
    QFETCH(float, stored);
    float target = 12345;
    bool raised = false;
    try {
        if (subtract)
            store_difference(target, a, b);
        else
            store_sum(target, a, b);
    } catch (const RuntimeError& e) {
        raised = true;
        QCOMPARE(e.number(), floating_point_error);
        QVERIFY(std::string(e.what()).size() > 0);
    }
    QCOMPARE(raised, raises);
    // The faulty result stays stored.
    if (std::isnan(stored))
        QVERIFY(std::isnan(target));
    else
        QCOMPARE(target, stored);
}

void TestModel::centring_data()
{
    QTest::addColumn<float>("screen");
    QTest::addColumn<float>("window");
    QTest::addColumn<float>("position");
    QTest::newRow("1024 pixels") << 1024.0f * 15 << 750.0f * 15 << 2055.0f;
    QTest::newRow("odd difference keeps half a twip") << 15361.0f << 11250.0f << 2055.5f;
    QTest::newRow("screen smaller than window") << 640.0f * 15 << 750.0f * 15 << -825.0f;
    QTest::newRow("equal sizes") << 11250.0f << 11250.0f << 0.0f;
}

void TestModel::centring()
{
    QFETCH(float, screen);
    QFETCH(float, window);
    QFETCH(float, position);
    QCOMPARE(centre_position(screen, window), position);
}

void TestModel::bands_data()
{
    QTest::addColumn<float>("level");
    QTest::addColumn<int>("row"); // 0: no band
    QTest::newRow("90") << 90.0f << 1;
    QTest::newRow("100") << 100.0f << 1;
    QTest::newRow("100.5 gap") << 100.5f << 0;
    QTest::newRow("101") << 101.0f << 2;
    QTest::newRow("135") << 135.0f << 2;
    QTest::newRow("135.5 gap") << 135.5f << 0;
    QTest::newRow("136") << 136.0f << 4;
    QTest::newRow("145") << 145.0f << 4;
    QTest::newRow("145.5 gap") << 145.5f << 0;
    QTest::newRow("146") << 146.0f << 5;
    QTest::newRow("180") << 180.0f << 5;
    QTest::newRow("180.5 above") << 180.5f << 0;
    QTest::newRow("89") << 89.0f << 3;
    QTest::newRow("89.5 gap") << 89.5f << 0;
    QTest::newRow("71") << 71.0f << 3;
    QTest::newRow("70.5 gap") << 70.5f << 0;
    QTest::newRow("70") << 70.0f << 6;
    QTest::newRow("65") << 65.0f << 6;
    QTest::newRow("64.5 gap") << 64.5f << 0;
    QTest::newRow("64") << 64.0f << 7;
    QTest::newRow("40") << 40.0f << 7;
    QTest::newRow("39.5") << 39.5f << 8;
    QTest::newRow("just below 40") << std::nextafter(40.0f, 0.0f) << 8;
    QTest::newRow("30") << 30.0f << 8;
    QTest::newRow("25") << 25.0f << 8;
    QTest::newRow("negative") << -1000.0f << 8;
    QTest::newRow("NaN") << nan_value << 8;
    QTest::newRow("infinity") << inf << 0;
    QTest::newRow("negative infinity") << -inf << 8;
}

void TestModel::bands()
{
    QFETCH(float, level);
    QFETCH(int, row);
    QCOMPARE(message_of(glucose_message(level)), row ? band_message(row) : QString());
}

void TestModel::band_messages_are_exact()
{
    QCOMPARE(band_message(1), "The blood glucose level is within normal limits.");
    QCOMPARE(band_message(2), "Blood glucose is high but still within the acceptable range.");
    QCOMPARE(band_message(3), "Blood glucose is low but still within the acceptable range.");
    QCOMPARE(band_message(4), "Blood glucose is too high and cells will be losing water due to "
                              "the low water potential of the blood plasma.");
    QCOMPARE(band_message(5), "Blood glucose is far too high. Tissues will be dehydrating and are "
                              "likely to be seriously damaged.");
    QCOMPARE(band_message(6), "Blood glucose is below normal. This is likely to lead to tiredness "
                              "and lack of concentration.");
    QCOMPARE(band_message(7), "Blood glucose is very low. The person will experience slurred "
                              "speech and blurred vision.");
    QCOMPARE(band_message(8), "The person is unconscious.  This is hypoglycaemic coma.");
}

void TestModel::tick_sequences_data()
{
    QTest::addColumn<float>("glucose");
    QTest::addColumn<float>("resting");
    QTest::addColumn<float>("running");
    QTest::addColumn<bool>("is_running");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<float>("level");
    QTest::addColumn<int>("row"); // band of the last tick's message, 0: none
    QTest::newRow("first tick") << 100.0f << -1.0f << -5.0f << false << 1 << 99.0f << 1;
    QTest::newRow("eleventh tick is low") << 100.0f << -1.0f << -5.0f << false << 11 << 89.0f << 3;
    QTest::newRow("running uses six") << 100.0f << -1.0f << -5.0f << true << 1 << 94.0f << 1;
    QTest::newRow("running twice") << 100.0f << -1.0f << -5.0f << true << 2 << 88.0f << 3;
    QTest::newRow("floor holds with coma")
        << 100.0f << -1.0f << -5.0f << false << 100 << 30.0f << 8;
    QTest::newRow("25 is coma then 30") << 26.0f << -1.0f << -5.0f << false << 1 << 30.0f << 8;
    QTest::newRow("above ceiling keeps no message")
        << 220.0f << -1.0f << -5.0f << false << 1 << 180.0f << 0;
    QTest::newRow("exactly 180 stays") << 181.0f << -1.0f << -5.0f << false << 1 << 180.0f << 5;
    QTest::newRow("running use zero") << 100.0f << -1.0f << 0.0f << true << 3 << 97.0f << 1;
    QTest::newRow("no use at rest") << 95.0f << 0.0f << -5.0f << false << 5 << 95.0f << 1;
    QTest::newRow("fraction falls in gap") << 101.0f << -0.5f << -5.0f << false << 1 << 100.5f << 0;
    QTest::newRow("2.5 use gives 97.5") << 100.0f << -2.5f << -5.0f << false << 1 << 97.5f << 1;
    QTest::newRow("positive infinity use") << 100.0f << inf << -5.0f << false << 1 << 180.0f << 0;
    QTest::newRow("negative infinity use") << 100.0f << -inf << -5.0f << false << 1 << 30.0f << 8;
    QTest::newRow("NaN level") << nan_value << -1.0f << -5.0f << false << 1 << 30.0f << 8;
}

void TestModel::tick_sequences()
{
    QFETCH(float, glucose);
    QFETCH(float, resting);
    QFETCH(float, running);
    QFETCH(bool, is_running);
    QFETCH(int, ticks);
    QFETCH(float, level);
    QFETCH(int, row);
    ModelState s = start_state();
    s.blood_glucose = glucose;
    s.resting_use = resting;
    s.running_use = running;
    s.is_running = is_running;
    std::optional<std::string_view> message;
    for (int i = 0; i < ticks; ++i) {
        message = tick(s);
        QVERIFY(s.blood_glucose >= lowest_level && s.blood_glucose <= highest_level);
    }
    QCOMPARE(s.blood_glucose, level);
    QCOMPARE(message_of(message), row ? band_message(row) : QString());
}

void TestModel::tick_fault_stops_at_the_faulty_step_data()
{
    QTest::addColumn<float>("glucose");
    QTest::addColumn<float>("resting");
    QTest::addColumn<float>("running");
    QTest::addColumn<float>("stored"); // the faulty sum, left unheld
    QTest::newRow("overflow in resting step") << 3e38f << 3e38f << 5.0f << inf;
    QTest::newRow("overflow in running step") << 3e38f << 1.0f << 3e38f << inf;
    QTest::newRow("infinity minus infinity") << 100.0f << -inf << inf << nan_value;
}

void TestModel::tick_fault_stops_at_the_faulty_step()
{
    QFETCH(float, glucose);
    QFETCH(float, resting);
    QFETCH(float, running);
    QFETCH(float, stored);
    ModelState s = start_state();
    s.blood_glucose = glucose;
    s.resting_use = resting;
    s.running_use = running;
    s.is_running = true;
    QVERIFY_THROWS_EXCEPTION(RuntimeError, tick(s));
    if (std::isnan(stored))
        QVERIFY(std::isnan(s.blood_glucose));
    else
        QCOMPARE(s.blood_glucose, stored);
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
