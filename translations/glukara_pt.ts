<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt" sourcelanguage="en">
<context>
    <name>Announcements</name>
    <message>
        <source>Blood glucose %1 mg per 100 ml.</source>
        <translation>Glicemia: %1 mg por 100 ml.</translation>
    </message>
    <message>
        <source>Glycogen store %1</source>
        <translation>Reserva de glicogênio %1</translation>
    </message>
    <message>
        <source>Time runs. The button now reads %1.</source>
        <translation>O tempo está correndo. O botão agora diz %1.</translation>
    </message>
    <message>
        <source>Time stands still. The button now reads %1.</source>
        <translation>O tempo está parado. O botão agora diz %1.</translation>
    </message>
    <message>
        <source>The person is running. The button now reads %1.</source>
        <translation>A pessoa está correndo. O botão agora diz %1.</translation>
    </message>
    <message>
        <source>The person is resting. The button now reads %1.</source>
        <translation>A pessoa está descansando. O botão agora diz %1.</translation>
    </message>
    <message>
        <source>Start values restored. Time stands still.</source>
        <translation>Valores iniciais restaurados. O tempo está parado.</translation>
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
        <translation>Reserva de glicogênio</translation>
    </message>
    <message>
        <source>Secrete Glucagon</source>
        <translation>Secretar glucagon</translation>
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
        <translation>Configurações</translation>
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
        <translation>Variável</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informações</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Go for a run</source>
        <translation>Ir correr</translation>
    </message>
    <message>
        <source>Eat a meal</source>
        <translation>Fazer uma refeição</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
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
        <translation>Erro em tempo de execução &apos;%1&apos;:

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
        <translation>O nível de glicose no sangue está dentro dos limites normais.</translation>
    </message>
    <message>
        <source>Blood glucose is high but still within the acceptable range.</source>
        <translation>A glicose no sangue está alta, mas ainda dentro da faixa aceitável.</translation>
    </message>
    <message>
        <source>Blood glucose is low but still within the acceptable range.</source>
        <translation>A glicose no sangue está baixa, mas ainda dentro da faixa aceitável.</translation>
    </message>
    <message>
        <source>Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.</source>
        <translation>A glicose no sangue está alta demais e as células vão perder água por causa do baixo potencial hídrico do plasma sanguíneo.</translation>
    </message>
    <message>
        <source>Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.</source>
        <translation>A glicose no sangue está excessivamente alta. Os tecidos vão se desidratar e provavelmente sofrer danos graves.</translation>
    </message>
    <message>
        <source>Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.</source>
        <translation>A glicose no sangue está abaixo do normal. Isso provavelmente vai causar cansaço e falta de concentração.</translation>
    </message>
    <message>
        <source>Blood glucose is very low. The person will experience slurred speech and blurred vision.</source>
        <translation>A glicose no sangue está muito baixa. A pessoa vai ter a fala arrastada e a visão turva.</translation>
    </message>
    <message>
        <source>The person is unconscious.  This is hypoglycaemic coma.</source>
        <translation>A pessoa está inconsciente. Trata-se de um coma hipoglicêmico.</translation>
    </message>
    <message>
        <source>resting glucose use</source>
        <translation>consumo de glicose em repouso</translation>
    </message>
    <message>
        <source>glucose use when running</source>
        <translation>consumo de glicose ao correr</translation>
    </message>
    <message>
        <source>glucose input from a meal</source>
        <translation>glicose vinda de uma refeição</translation>
    </message>
    <message>
        <source>effect of insulin</source>
        <translation>efeito da insulina</translation>
    </message>
    <message>
        <source>effect of glucagon</source>
        <translation>efeito do glucagon</translation>
    </message>
    <message>
        <source>glycogen store</source>
        <translation>reserva de glicogênio</translation>
    </message>
    <message>
        <source>Invalid floating-point operation</source>
        <translation>Operação de ponto flutuante inválida</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Estouro</translation>
    </message>
</context>
</TS>
