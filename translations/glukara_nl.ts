<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Bloedglucose %1 mg per 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Glycogeenvoorraad %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>De tijd loopt. De knop heet nu %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>De tijd staat stil. De knop heet nu %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>De persoon rent. De knop heet nu %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>De persoon rust uit. De knop heet nu %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Beginwaarden hersteld. De tijd staat stil.</translation>
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
        <translation>Glycogeenvoorraad</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Glucagon afgeven</translation>
    </message>
    <message>
        <source>Secrete Insulin</source>
        <translation>Insuline afgeven</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Opnieuw</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>Diabetic?</source>
        <translation>Diabeet?</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Waarde</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variabele</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informatie</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Gaan hardlopen</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Maaltijd eten</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100ml)</source>
        <translation>Bloedglucose (mg / 100ml)</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100 ml)</source>
        <translation>Bloedglucose (mg / 100 ml)</translation>
    </message>
    <message>
        <source>Blood Glucose</source>
        <translation>Bloedglucose</translation>
    </message>
    <message>
        <source>Run-time error &apos;%1&apos;:

%2</source>
        <translation>Fout tijdens uitvoering &apos;%1&apos;:

%2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Take a rest</source>
        <translation>Uitrusten</translation>
    </message>
</context>
<context>
    <name>glukara_code</name>
    <message>
        <source>The blood glucose level is within normal limits.</source>
        <translation>De bloedglucosespiegel ligt binnen de normale grenzen.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>De bloedglucose is hoog, maar nog binnen het aanvaardbare bereik.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>De bloedglucose is laag, maar nog binnen het aanvaardbare bereik.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>De bloedglucose is te hoog en de cellen verliezen water door de lage waterpotentiaal van het bloedplasma.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>De bloedglucose is veel te hoog. De weefsels drogen uit en raken waarschijnlijk ernstig beschadigd.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>De bloedglucose is lager dan normaal. Dit leidt waarschijnlijk tot vermoeidheid en concentratiegebrek.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>De bloedglucose is erg laag. De persoon gaat onduidelijk praten en ziet wazig.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>De persoon is bewusteloos. Dit is een hypoglykemisch coma.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>glucoseverbruik in rust</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>glucoseverbruik bij hardlopen</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>glucosetoevoer door een maaltijd</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>effect van insuline</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>effect van glucagon</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>glycogeenvoorraad</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Ongeldige drijvendekommabewerking</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Overloop</translation>
    </message>
</context>
</TS>
