<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Glucosa en sangre: %1 mg por 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Reserva de glucógeno %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>El tiempo corre. El botón dice ahora %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>El tiempo está detenido. El botón dice ahora %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>La persona está corriendo. El botón dice ahora %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>La persona está descansando. El botón dice ahora %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Valores iniciales restablecidos. El tiempo está detenido.</translation>
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
        <translation>Reserva de glucógeno</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Secretar glucagón</translation>
    </message>
    <message>
        <source>Secrete Insulin</source>
        <translation>Secretar insulina</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reiniciar</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Diabetic?</source>
        <translation>Diabetes</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Salir a correr</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Comer</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100ml)</source>
        <translation>Glucosa en sangre (mg / 100ml)</translation>
    </message>
    <message>
        <source>Blood glucose (mg / 100 ml)</source>
        <translation>Glucosa en sangre (mg / 100 ml)</translation>
    </message>
    <message>
        <source>Blood Glucose</source>
        <translation>Glucosa en sangre</translation>
    </message>
    <message>
        <source>Run-time error &apos;%1&apos;:

%2</source>
        <translation>Error en tiempo de ejecución &apos;%1&apos;:

%2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Take a rest</source>
        <translation>Descansar</translation>
    </message>
</context>
<context>
    <name>glukara_code</name>
    <message>
        <source>The blood glucose level is within normal limits.</source>
        <translation>El nivel de glucosa en sangre está dentro de los límites normales.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>La glucosa en sangre está alta, pero aún dentro del rango aceptable.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>La glucosa en sangre está baja, pero aún dentro del rango aceptable.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>La glucosa en sangre está demasiado alta y las células perderán agua debido al bajo potencial hídrico del plasma sanguíneo.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>La glucosa en sangre está excesivamente alta. Los tejidos se deshidratarán y es probable que sufran daños graves.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>La glucosa en sangre está por debajo de lo normal. Es probable que esto cause cansancio y falta de concentración.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>La glucosa en sangre está muy baja. La persona arrastrará las palabras al hablar y verá borroso.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>La persona está inconsciente. Esto es un coma hipoglucémico.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>consumo de glucosa en reposo</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>consumo de glucosa al correr</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>aporte de glucosa de una comida</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>efecto de la insulina</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>efecto del glucagón</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>reserva de glucógeno</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Operación de coma flotante no válida</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Desbordamiento</translation>
    </message>
</context>
</TS>
