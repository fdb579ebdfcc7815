<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>ActionRow</name>
    <message>
        <source>Select Installer</source>
        <translation>Seleccionar instalador</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>Crear ISO</translation>
    </message>
</context>
<context>
    <name>AlertDialog</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message numerus="yes">
        <source>… %Ln characters left out …</source>
        <translation>
            <numerusform>… %Ln carácter omitido …</numerusform>
            <numerusform>… %Ln caracteres omitidos …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Cero KB</translation>
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
        <translation>Crea imágenes ISO de arranque a partir de instaladores de macOS</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <translation>Elegir otra carpeta…</translation>
    </message>
</context>
<context>
    <name>EmptyStateCard</name>
    <message>
        <source>No installer selected</source>
        <translation>No se ha seleccionado ningún instalador</translation>
    </message>
    <message>
        <source>Please select a macOS installer to continue</source>
        <translation>Selecciona un instalador de macOS para continuar</translation>
    </message>
</context>
<context>
    <name>InstallerDetailsCard</name>
    <message>
        <source>macOS Version:</source>
        <translation>Versión de macOS:</translation>
    </message>
    <message>
        <source>Installer Version:</source>
        <translation>Versión del instalador:</translation>
    </message>
    <message>
        <source>Build Number:</source>
        <translation>Número de compilación:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Tamaño:</translation>
    </message>
    <message>
        <source>Installer Type:</source>
        <translation>Tipo de instalador:</translation>
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
        <translation>Ruta: %1</translation>
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
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Nueva ventana</translation>
    </message>
    <message>
        <source>Stop creating the ISO and quit?</source>
        <translation>¿Detener la creación de la ISO y salir?</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Detener y salir</translation>
    </message>
</context>
<context>
    <name>OutputFolderLine</name>
    <message>
        <source>Desktop (“%1” is not available)</source>
        <translation>Escritorio («%1» no está disponible)</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Escritorio</translation>
    </message>
    <message>
        <source>Saves to: %1</source>
        <translation>Se guarda en: %1</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Cambiar…</translation>
    </message>
</context>
<context>
    <name>ProgressSection</name>
    <message>
        <source>Steps</source>
        <translation>Pasos</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Transcurrido %1</translation>
    </message>
    <message>
        <source>less than a minute left in this step</source>
        <translation>menos de un minuto restante en este paso</translation>
    </message>
    <message>
        <source>about 1 minute left in this step</source>
        <translation>queda aproximadamente 1 minuto en este paso</translation>
    </message>
    <message>
        <source>about %1 minutes left in this step</source>
        <translation>quedan aproximadamente %1 minutos en este paso</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The elapsed time, then the time left in the current step.</extracomment>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Progress %1 %</source>
        <translation>Progreso %1 %</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>%1, completed</source>
        <translation>%1, completado</translation>
    </message>
    <message>
        <source>%1, in progress</source>
        <translation>%1, en curso</translation>
    </message>
    <message>
        <source>%1, pending</source>
        <translation>%1, pendiente</translation>
    </message>
</context>
<context>
    <name>StopQuestion</name>
    <message>
        <source>Stop creating the ISO?</source>
        <translation>¿Detener la creación de la ISO?</translation>
    </message>
    <message>
        <source>The files made so far will be removed.</source>
        <translation>Se eliminarán los archivos creados hasta ahora.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuar</translation>
    </message>
</context>
<context>
    <name>vantorel::FileDialogChooser</name>
    <message>
        <source>Select a macOS Installer</source>
        <translation>Seleccionar un instalador de macOS</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>Aplicaciones (*.app)</translation>
    </message>
</context>
<context>
    <name>vantorel::FolderDialogChooser</name>
    <message>
        <source>Choose Where to Save the ISO</source>
        <translation>Elegir dónde guardar la ISO</translation>
    </message>
</context>
<context>
    <name>vantorel::MessageBoxPrompter</name>
    <message>
        <source>File already exists</source>
        <translation>El archivo ya existe</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists. Do you want to replace it?</source>
        <translation>“%1” ya existe. ¿Quieres reemplazarlo?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
</TS>
