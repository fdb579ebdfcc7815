<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ActionRow</name>
    <message>
        <source>Select Installer</source>
        <translation>Choisir le programme d’installation</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>Créer l’ISO</translation>
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
            <numerusform>… %Ln caractère omis …</numerusform>
            <numerusform>… %Ln caractères omis …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Zéro Ko</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1&#xa0;Go</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Create bootable ISO images from macOS installers</source>
        <translation>Créez des images ISO démarrables à partir de programmes d’installation de macOS</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <translation>Choisir un autre dossier…</translation>
    </message>
</context>
<context>
    <name>EmptyStateCard</name>
    <message>
        <source>No installer selected</source>
        <translation>Aucun programme d’installation sélectionné</translation>
    </message>
    <message>
        <source>Please select a macOS installer to continue</source>
        <translation>Sélectionnez un programme d’installation de macOS pour continuer</translation>
    </message>
</context>
<context>
    <name>InstallerDetailsCard</name>
    <message>
        <source>macOS Version:</source>
        <translation>Version de macOS&#xa0;:</translation>
    </message>
    <message>
        <source>Installer Version:</source>
        <translation>Version du programme d’installation&#xa0;:</translation>
    </message>
    <message>
        <source>Build Number:</source>
        <translation>Numéro de build&#xa0;:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille&#xa0;:</translation>
    </message>
    <message>
        <source>Installer Type:</source>
        <translation>Type de programme d’installation&#xa0;:</translation>
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
        <translation>Chemin&#xa0;: %1</translation>
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
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Nouvelle fenêtre</translation>
    </message>
    <message>
        <source>Stop creating the ISO and quit?</source>
        <translation>Arrêter la création de l’ISO et quitter&#xa0;?</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Arrêter et quitter</translation>
    </message>
</context>
<context>
    <name>OutputFolderLine</name>
    <message>
        <source>Desktop (“%1” is not available)</source>
        <translation>Bureau («&#xa0;%1&#xa0;» n’est pas disponible)</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Bureau</translation>
    </message>
    <message>
        <source>Saves to: %1</source>
        <translation>Enregistre dans&#xa0;: %1</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Modifier…</translation>
    </message>
</context>
<context>
    <name>ProgressSection</name>
    <message>
        <source>Steps</source>
        <translation>Étapes</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Écoulé %1</translation>
    </message>
    <message>
        <source>less than a minute left in this step</source>
        <translation>moins d’une minute restante pour cette étape</translation>
    </message>
    <message>
        <source>about 1 minute left in this step</source>
        <translation>environ 1 minute restante pour cette étape</translation>
    </message>
    <message>
        <source>about %1 minutes left in this step</source>
        <translation>environ %1 minutes restantes pour cette étape</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The elapsed time, then the time left in the current step.</extracomment>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Progress %1 %</source>
        <translation>Progression %1 %</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>%1, completed</source>
        <translation>%1, terminé</translation>
    </message>
    <message>
        <source>%1, in progress</source>
        <translation>%1, en cours</translation>
    </message>
    <message>
        <source>%1, pending</source>
        <translation>%1, en attente</translation>
    </message>
</context>
<context>
    <name>StopQuestion</name>
    <message>
        <source>Stop creating the ISO?</source>
        <translation>Arrêter la création de l’ISO&#xa0;?</translation>
    </message>
    <message>
        <source>The files made so far will be removed.</source>
        <translation>Les fichiers créés jusqu’ici seront supprimés.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
</context>
<context>
    <name>vantorel::FileDialogChooser</name>
    <message>
        <source>Select a macOS Installer</source>
        <translation>Choisir un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>Applications (*.app)</translation>
    </message>
</context>
<context>
    <name>vantorel::FolderDialogChooser</name>
    <message>
        <source>Choose Where to Save the ISO</source>
        <translation>Choisir où enregistrer l’ISO</translation>
    </message>
</context>
<context>
    <name>vantorel::MessageBoxPrompter</name>
    <message>
        <source>File already exists</source>
        <translation>Le fichier existe déjà</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists. Do you want to replace it?</source>
        <translation>«&#xa0;%1&#xa0;» existe déjà. Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
</TS>
