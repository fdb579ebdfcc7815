import Vantorel

// Asked before a run is stopped, since a stray key must not throw away minutes of work.
// "Continue", the default, only closes it: the run has gone on all the while.
AlertDialog {
    objectName: "stopQuestion"
    title: qsTr("Stop creating the ISO?")
    message: qsTr("The files made so far will be removed.")
    actionText: qsTr("Stop")
    okText: qsTr("Continue")
}
