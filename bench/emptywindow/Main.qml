import QtQuick
import QtQuick.Controls

// The baseline for the startup benchmark: the smallest Qt Quick Controls window, the size of
// Vantorel's.
ApplicationWindow {
    width: 600
    height: 600
    visible: true
    title: "Empty"

    Text {
        anchors.centerIn: parent
        text: "Empty"
    }
}
