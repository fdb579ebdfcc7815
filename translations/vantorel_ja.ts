<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ActionRow</name>
    <message>
        <source>Select Installer</source>
        <translation>インストーラを選択</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>ISOを作成</translation>
    </message>
</context>
<context>
    <name>AlertDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message numerus="yes">
        <source>… %Ln characters left out …</source>
        <translation>
            <numerusform>… %Ln 文字を省略 …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>0 KB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Create bootable ISO images from macOS installers</source>
        <translation>macOSインストーラから起動可能なISOイメージを作成</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>フォルダに表示</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <translation>別のフォルダを選択…</translation>
    </message>
</context>
<context>
    <name>EmptyStateCard</name>
    <message>
        <source>No installer selected</source>
        <translation>インストーラが選択されていません</translation>
    </message>
    <message>
        <source>Please select a macOS installer to continue</source>
        <translation>続けるには、macOSインストーラを選択してください</translation>
    </message>
</context>
<context>
    <name>InstallerDetailsCard</name>
    <message>
        <source>macOS Version:</source>
        <translation>macOSのバージョン：</translation>
    </message>
    <message>
        <source>Installer Version:</source>
        <translation>インストーラのバージョン：</translation>
    </message>
    <message>
        <source>Build Number:</source>
        <translation>ビルド番号：</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>サイズ：</translation>
    </message>
    <message>
        <source>Installer Type:</source>
        <translation>インストーラの種類：</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>OS X</source>
        <translation>OS X</translation>
    </message>
    <message>
        <source>Path: %1</source>
        <translation>パス：%1</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Vantorel</source>
        <translation>Vantorel</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>新規ウインドウ</translation>
    </message>
    <message>
        <source>Stop creating the ISO and quit?</source>
        <translation>ISO の作成を中止して終了しますか?</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>中止して終了</translation>
    </message>
</context>
<context>
    <name>OutputFolderLine</name>
    <message>
        <source>Desktop (“%1” is not available)</source>
        <translation>デスクトップ(“%1”は使用できません)</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>デスクトップ</translation>
    </message>
    <message>
        <source>Saves to: %1</source>
        <translation>保存先: %1</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>変更…</translation>
    </message>
</context>
<context>
    <name>ProgressSection</name>
    <message>
        <source>Steps</source>
        <translation>ステップ</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>経過時間 %1</translation>
    </message>
    <message>
        <source>less than a minute left in this step</source>
        <translation>この手順の残り時間: 1 分未満</translation>
    </message>
    <message>
        <source>about 1 minute left in this step</source>
        <translation>この手順の残り時間: 約 1 分</translation>
    </message>
    <message>
        <source>about %1 minutes left in this step</source>
        <translation>この手順の残り時間: 約 %1 分</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The elapsed time, then the time left in the current step.</extracomment>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Progress %1 %</source>
        <translation>進行状況 %1%</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>%1, completed</source>
        <translation>%1、完了</translation>
    </message>
    <message>
        <source>%1, in progress</source>
        <translation>%1、実行中</translation>
    </message>
    <message>
        <source>%1, pending</source>
        <translation>%1、待機中</translation>
    </message>
</context>
<context>
    <name>StopQuestion</name>
    <message>
        <source>Stop creating the ISO?</source>
        <translation>ISO の作成を中止しますか?</translation>
    </message>
    <message>
        <source>The files made so far will be removed.</source>
        <translation>これまでに作成されたファイルは削除されます。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>続ける</translation>
    </message>
</context>
<context>
    <name>vantorel::FileDialogChooser</name>
    <message>
        <source>Select a macOS Installer</source>
        <translation>macOSインストーラを選択</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>アプリケーション (*.app)</translation>
    </message>
</context>
<context>
    <name>vantorel::FolderDialogChooser</name>
    <message>
        <source>Choose Where to Save the ISO</source>
        <translation>ISO の保存先を選択</translation>
    </message>
</context>
<context>
    <name>vantorel::MessageBoxPrompter</name>
    <message>
        <source>File already exists</source>
        <translation>ファイルはすでに存在します</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists. Do you want to replace it?</source>
        <translation>“%1”はすでに存在します。置き換えますか？</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>置き換える</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
</TS>
