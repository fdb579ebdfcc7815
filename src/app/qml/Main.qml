import QtQuick
import QtQuick.Controls
import Vantorel

ApplicationWindow {
    id: window

    title: qsTr("Vantorel")
    minimumWidth: 600
    minimumHeight: 600
    width: 640
    height: 720
    visible: true

    ContentView {
        anchors.fill: parent
    }
}
