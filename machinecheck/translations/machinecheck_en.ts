<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_GB">
<context>
    <name>Main</name>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation><numerusform>%n error</numerusform><numerusform>%n errors</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation><numerusform>%n warning</numerusform><numerusform>%n warnings</numerusform></translation>
    </message>
    </context>
<context>
    <name>Sheet</name>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation><numerusform>%n error</numerusform><numerusform>%n errors</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation><numerusform>%n warning</numerusform><numerusform>%n warnings</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n setting(s) name a sound number outside 0 to 128.</source>
        <translation><numerusform>%n setting names a sound number outside 0 to 128.</numerusform><numerusform>%n settings name a sound number outside 0 to 128.</numerusform></translation>
    </message>
    </context>
</TS>