<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Glicemia %1 mg per 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Riserva di glicogeno %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>Il tempo scorre. Ora il pulsante dice %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>Il tempo è fermo. Ora il pulsante dice %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>La persona sta correndo. Ora il pulsante dice %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>La persona sta riposando. Ora il pulsante dice %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Valori iniziali ripristinati. Il tempo è fermo.</translation>
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
        <translation>Riserva di glicogeno</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Secerni glucagone</translation>
    </message>
    <message>
        <source>Secrete Insulin</source>
        <translation>Secerni insulina</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Azzera</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Diabetic?</source>
        <translation>Diabete?</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valore</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variabile</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Vai a correre</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Fai un pasto</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Avvia</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100ml)</source>
        <translation>Glicemia (mg / 100ml)</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100 ml)</source>
        <translation>Glicemia (mg / 100 ml)</translation>
    </message>
    <message>
        <source>Blood Glucose</source>
        <translation>Glicemia</translation>
    </message>
    <message>
        <source>Run-time error &apos;%1&apos;:

%2</source>
        <translation>Errore di esecuzione &apos;%1&apos;:

%2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Ferma</translation>
    </message>
    <message>
        <source>Take a rest</source>
        <translation>Riposati</translation>
    </message>
</context>
<context>
    <name>glukara_code</name>
    <message>
        <source>The blood glucose level is within normal limits.</source>
        <translation>La glicemia è entro i limiti normali.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>La glicemia è alta, ma ancora nell&apos;intervallo accettabile.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>La glicemia è bassa, ma ancora nell&apos;intervallo accettabile.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>La glicemia è troppo alta e le cellule perderanno acqua a causa del basso potenziale idrico del plasma sanguigno.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>La glicemia è decisamente troppo alta. I tessuti si disidrateranno e probabilmente subiranno gravi danni.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>La glicemia è sotto la norma. Questo probabilmente causerà stanchezza e mancanza di concentrazione.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>La glicemia è molto bassa. La persona biascicherà le parole e avrà la vista offuscata.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>La persona è incosciente. Si tratta di un coma ipoglicemico.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>consumo di glucosio a riposo</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>consumo di glucosio in corsa</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>apporto di glucosio da un pasto</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>effetto dell&apos;insulina</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>effetto del glucagone</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>riserva di glicogeno</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Operazione in virgola mobile non valida</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Overflow</translation>
    </message>
</context>
</TS>
