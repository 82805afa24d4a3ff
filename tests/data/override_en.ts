<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Zevo</name>
    <message>
        <source>取消</source>
        <translation>Dismiss</translation>
    </message>
</context>
</TS>
