import Vantorel

// Asked when the window is closed, or the application quit, during a run. Its own texts are the
// window's (Main's).
StopQuestion {
    objectName: "quitQuestion"
    title: qsTranslate("Main", "Stop creating the ISO and quit?")
    actionText: qsTranslate("Main", "Stop and Quit")
}
