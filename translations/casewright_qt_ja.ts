<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Texts of Qt's own dialogs that Qt's Japanese catalogue (qtbase_ja) lacks:
     the types the file dialogs list. Installed after it, with the Japanese
     interface. -->
<TS version="2.1" language="ja_JP" sourcelanguage="en_US">
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
</context>
</TS>
