<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Blutzucker %1 mg pro 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Glykogenspeicher %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>Die Zeit läuft. Die Schaltfläche heißt jetzt %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>Die Zeit steht still. Die Schaltfläche heißt jetzt %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>Die Person läuft. Die Schaltfläche heißt jetzt %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>Die Person ruht sich aus. Die Schaltfläche heißt jetzt %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Startwerte wiederhergestellt. Die Zeit steht still.</translation>
    </message>
</context>
<context>
    <name>glukara</name>
    <message>
        <source>Glukara</source>
        <translation>Glukara</translation>
    </message>
    <message>
        <source>Glycogen store</source>
        <translation>Glykogenspeicher</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Glucagon abgeben</translation>
    </message>
    <message>
        <source>Secrete Insulin</source>
        <translation>Insulin abgeben</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Diabetic?</source>
        <translation>Diabetes</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Laufen gehen</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Mahlzeit essen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100ml)</source>
        <translation>Blutzucker (mg / 100ml)</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100 ml)</source>
        <translation>Blutzucker (mg / 100 ml)</translation>
    </message>
    <message>
        <source>Blood Glucose</source>
        <translation>Blutzucker</translation>
    </message>
    <message>
        <source>Run-time error &apos;%1&apos;:

%2</source>
        <translation>Laufzeitfehler &apos;%1&apos;:

%2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Take a rest</source>
        <translation>Ausruhen</translation>
    </message>
</context>
<context>
    <name>glukara_code</name>
    <message>
        <source>The blood glucose level is within normal limits.</source>
        <translation>Der Blutzuckerspiegel liegt im Normalbereich.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>Der Blutzucker ist hoch, liegt aber noch im akzeptablen Bereich.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>Der Blutzucker ist niedrig, liegt aber noch im akzeptablen Bereich.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>Der Blutzucker ist zu hoch. Die Zellen verlieren Wasser, weil das Wasserpotenzial des Blutplasmas niedrig ist.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>Der Blutzucker ist viel zu hoch. Die Gewebe trocknen aus und werden wahrscheinlich schwer geschädigt.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>Der Blutzucker liegt unter dem Normalwert. Das führt wahrscheinlich zu Müdigkeit und Konzentrationsschwäche.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>Der Blutzucker ist sehr niedrig. Die Person spricht undeutlich und sieht verschwommen.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>Die Person ist bewusstlos. Das ist ein hypoglykämisches Koma.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>Glucoseverbrauch in Ruhe</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>Glucoseverbrauch beim Laufen</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>Glucosezufuhr pro Mahlzeit</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>Wirkung von Insulin</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>Wirkung von Glucagon</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>Glykogenspeicher</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Ungültige Gleitkommaoperation</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
</context>
</TS>
