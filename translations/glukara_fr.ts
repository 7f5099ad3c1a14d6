<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Glycémie : %1 mg pour 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Réserve de glycogène %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>Le temps s’écoule. Le bouton indique maintenant %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>Le temps est arrêté. Le bouton indique maintenant %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>La personne court. Le bouton indique maintenant %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>La personne se repose. Le bouton indique maintenant %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Valeurs de départ rétablies. Le temps est arrêté.</translation>
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
        <translation>Réserve de glycogène</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Sécréter
du glucagon</translation>
    </message>
    <message>
        <source>Secrete Insulin</source>
        <translation>Sécréter
de l&apos;insuline</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Remise
à zéro</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Diabetic?</source>
        <translation>Diabète&#x202f;?</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informations</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Aller courir</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Prendre un repas</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100ml)</source>
        <translation>Glycémie (mg / 100ml)</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100 ml)</source>
        <translation>Glycémie (mg / 100 ml)</translation>
    </message>
    <message>
        <source>Blood Glucose</source>
        <translation>Glycémie</translation>
    </message>
    <message>
        <source>Run-time error &apos;%1&apos;:

%2</source>
        <translation>Erreur d&apos;exécution &apos;%1&apos;&#xa0;:

%2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Take a rest</source>
        <translation>Se reposer</translation>
    </message>
</context>
<context>
    <name>glukara_code</name>
    <message>
        <source>The blood glucose level is within normal limits.</source>
        <translation>La glycémie est dans les limites normales.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>La glycémie est élevée, mais reste dans la zone acceptable.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>La glycémie est basse, mais reste dans la zone acceptable.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>La glycémie est trop élevée&#xa0;: les cellules vont perdre de l&apos;eau, car le potentiel hydrique du plasma sanguin est bas.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>La glycémie est beaucoup trop élevée. Les tissus vont se déshydrater et risquent d&apos;être gravement endommagés.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>La glycémie est en dessous de la normale. Cela risque d&apos;entraîner de la fatigue et un manque de concentration.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>La glycémie est très basse. La personne aura une élocution pâteuse et une vision floue.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>La personne est inconsciente. C&apos;est un coma hypoglycémique.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>glucose consommé au repos</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>glucose consommé en courant</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>glucose apporté par un repas</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>effet de l&apos;insuline</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>effet du glucagon</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>réserve de glycogène</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Opération en virgule flottante non valide</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Dépassement de capacité</translation>
    </message>
</context>
</TS>
