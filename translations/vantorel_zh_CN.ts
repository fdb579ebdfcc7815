<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ActionRow</name>
    <message>
        <source>Select Installer</source>
        <translation>选择安装器</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>创建 ISO</translation>
    </message>
</context>
<context>
    <name>AlertDialog</name>
    <message>
        <source>OK</source>
        <translation>好</translation>
    </message>
    <message numerus="yes">
        <source>… %Ln characters left out …</source>
        <translation>
            <numerusform>… 省略了 %Ln 个字符 …</numerusform>
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
        <translation>从 macOS 安装器创建可引导的 ISO 映像</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <translation>选择其他文件夹…</translation>
    </message>
</context>
<context>
    <name>EmptyStateCard</name>
    <message>
        <source>No installer selected</source>
        <translation>未选择安装器</translation>
    </message>
    <message>
        <source>Please select a macOS installer to continue</source>
        <translation>请选择一个 macOS 安装器以继续</translation>
    </message>
</context>
<context>
    <name>InstallerDetailsCard</name>
    <message>
        <source>macOS Version:</source>
        <translation>macOS 版本：</translation>
    </message>
    <message>
        <source>Installer Version:</source>
        <translation>安装器版本：</translation>
    </message>
    <message>
        <source>Build Number:</source>
        <translation>构建版本：</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>大小：</translation>
    </message>
    <message>
        <source>Installer Type:</source>
        <translation>安装器类型：</translation>
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
        <translation>路径：%1</translation>
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
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>新建窗口</translation>
    </message>
    <message>
        <source>Stop creating the ISO and quit?</source>
        <translation>停止创建 ISO 并退出？</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>停止并退出</translation>
    </message>
</context>
<context>
    <name>OutputFolderLine</name>
    <message>
        <source>Desktop (“%1” is not available)</source>
        <translation>桌面（“%1”不可用）</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>桌面</translation>
    </message>
    <message>
        <source>Saves to: %1</source>
        <translation>保存到：%1</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>更改…</translation>
    </message>
</context>
<context>
    <name>ProgressSection</name>
    <message>
        <source>Steps</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>已用时间 %1</translation>
    </message>
    <message>
        <source>less than a minute left in this step</source>
        <translation>此步骤剩余不到 1 分钟</translation>
    </message>
    <message>
        <source>about 1 minute left in this step</source>
        <translation>此步骤剩余约 1 分钟</translation>
    </message>
    <message>
        <source>about %1 minutes left in this step</source>
        <translation>此步骤剩余约 %1 分钟</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The elapsed time, then the time left in the current step.</extracomment>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Progress %1 %</source>
        <translation>进度 %1%</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>%1, completed</source>
        <translation>%1，已完成</translation>
    </message>
    <message>
        <source>%1, in progress</source>
        <translation>%1，进行中</translation>
    </message>
    <message>
        <source>%1, pending</source>
        <translation>%1，等待中</translation>
    </message>
</context>
<context>
    <name>StopQuestion</name>
    <message>
        <source>Stop creating the ISO?</source>
        <translation>停止创建 ISO？</translation>
    </message>
    <message>
        <source>The files made so far will be removed.</source>
        <translation>目前已创建的文件将被删除。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
</context>
<context>
    <name>vantorel::FileDialogChooser</name>
    <message>
        <source>Select a macOS Installer</source>
        <translation>选择 macOS 安装器</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>应用程序 (*.app)</translation>
    </message>
</context>
<context>
    <name>vantorel::FolderDialogChooser</name>
    <message>
        <source>Choose Where to Save the ISO</source>
        <translation>选择 ISO 的保存位置</translation>
    </message>
</context>
<context>
    <name>vantorel::MessageBoxPrompter</name>
    <message>
        <source>File already exists</source>
        <translation>文件已存在</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists. Do you want to replace it?</source>
        <translation>“%1”已存在。要替换它吗？</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
</TS>
