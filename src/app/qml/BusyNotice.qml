import Vantorel

// Why the window stays open while a run is under way. Its texts are the window's (Main's).
AlertDialog {
    objectName: "busyNotice"
    title: qsTranslate("Main", "An ISO image is being created")
    message: qsTranslate("Main", "Vantorel can be closed once the current run has finished.")
}
