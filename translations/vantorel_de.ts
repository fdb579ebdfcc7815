<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ActionRow</name>
    <message>
        <source>Select Installer</source>
        <translation>Installationsprogramm auswählen</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>ISO erstellen</translation>
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
            <numerusform>… %Ln Zeichen ausgelassen …</numerusform>
            <numerusform>… %Ln Zeichen ausgelassen …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Null KB</translation>
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
        <translation>Startfähige ISO-Images aus macOS-Installationsprogrammen erstellen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <translation>Anderen Ordner wählen …</translation>
    </message>
</context>
<context>
    <name>EmptyStateCard</name>
    <message>
        <source>No installer selected</source>
        <translation>Kein Installationsprogramm ausgewählt</translation>
    </message>
    <message>
        <source>Please select a macOS installer to continue</source>
        <translation>Wähle ein macOS-Installationsprogramm aus, um fortzufahren</translation>
    </message>
</context>
<context>
    <name>InstallerDetailsCard</name>
    <message>
        <source>macOS Version:</source>
        <translation>macOS-Version:</translation>
    </message>
    <message>
        <source>Installer Version:</source>
        <translation>Version des Installationsprogramms:</translation>
    </message>
    <message>
        <source>Build Number:</source>
        <translation>Build-Nummer:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Installer Type:</source>
        <translation>Art des Installationsprogramms:</translation>
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
        <translation>Pfad: %1</translation>
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
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>Stop creating the ISO and quit?</source>
        <translation>Erstellung des ISO-Images stoppen und beenden?</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Stoppen und beenden</translation>
    </message>
</context>
<context>
    <name>OutputFolderLine</name>
    <message>
        <source>Desktop (“%1” is not available)</source>
        <translation>Schreibtisch („%1“ ist nicht verfügbar)</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <source>Saves to: %1</source>
        <translation>Speichert in: %1</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Ändern …</translation>
    </message>
</context>
<context>
    <name>ProgressSection</name>
    <message>
        <source>Steps</source>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Verstrichen %1</translation>
    </message>
    <message>
        <source>less than a minute left in this step</source>
        <translation>noch weniger als eine Minute in diesem Schritt</translation>
    </message>
    <message>
        <source>about 1 minute left in this step</source>
        <translation>noch etwa 1 Minute in diesem Schritt</translation>
    </message>
    <message>
        <source>about %1 minutes left in this step</source>
        <translation>noch etwa %1 Minuten in diesem Schritt</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The elapsed time, then the time left in the current step.</extracomment>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Progress %1 %</source>
        <translation>Fortschritt %1 %</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>%1, completed</source>
        <translation>%1, abgeschlossen</translation>
    </message>
    <message>
        <source>%1, in progress</source>
        <translation>%1, wird ausgeführt</translation>
    </message>
    <message>
        <source>%1, pending</source>
        <translation>%1, ausstehend</translation>
    </message>
</context>
<context>
    <name>StopQuestion</name>
    <message>
        <source>Stop creating the ISO?</source>
        <translation>Erstellung des ISO-Images stoppen?</translation>
    </message>
    <message>
        <source>The files made so far will be removed.</source>
        <translation>Die bisher erstellten Dateien werden entfernt.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
</context>
<context>
    <name>vantorel::FileDialogChooser</name>
    <message>
        <source>Select a macOS Installer</source>
        <translation>macOS-Installationsprogramm auswählen</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>Programme (*.app)</translation>
    </message>
</context>
<context>
    <name>vantorel::FolderDialogChooser</name>
    <message>
        <source>Choose Where to Save the ISO</source>
        <translation>Speicherort für das ISO-Image wählen</translation>
    </message>
</context>
<context>
    <name>vantorel::MessageBoxPrompter</name>
    <message>
        <source>File already exists</source>
        <translation>Die Datei ist bereits vorhanden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists. Do you want to replace it?</source>
        <translation>„%1“ ist bereits vorhanden. Möchtest du die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
