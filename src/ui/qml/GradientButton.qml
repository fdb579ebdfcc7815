import QtQuick
import QtQuick.Templates as T
import Vantorel

// One of the window's two main buttons: symbol and title in white on a horizontal gradient in a
// rounded rectangle; blue when usable, gray when not. While held down it shrinks a little and,
// when blue, dims. The face is exactly the label's size.
T.AbstractButton {
    id: control

    // The title is the button's text, and with it its accessible name.
    required property string title
    required property url symbol
    // Gray face, and no clicks or keys, while true.
    required property bool isDisabled

    readonly property color gradientColor: isDisabled ? Theme.gray : Theme.blue
    readonly property real gradientOpacity: !isDisabled && down ? 0.8 : 1.0

    function faded(alpha) {
        return Qt.rgba(gradientColor.r, gradientColor.g, gradientColor.b, alpha)
    }

    text: title
    enabled: !isDisabled
    // The focus policy is the platform's default for buttons. Naming a value such as
    // Qt.StrongFocus would make the engine list the whole Qt namespace at start.

    // At least 150 wide; a title that needs more keeps a little room from the rounded ends.
    implicitWidth: Math.max(150, implicitContentWidth + 24)
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: 0
    topPadding: 8
    bottomPadding: 8

    font.pixelSize: 14
    font.weight: Font.DemiBold

    scale: down ? 0.98 : 1.0
    Behavior on scale {
        NumberAnimation { duration: 100; easing.type: Easing.InOutQuad }
    }

    // Return and Enter press the button as Space does on every platform.
    Keys.onReturnPressed: control.clicked()
    Keys.onEnterPressed: control.clicked()

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight

        Row {
            id: label
            anchors.centerIn: parent
            spacing: Theme.spacing

            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                source: control.symbol
                color: "white"
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                font: control.font
                color: "white"
                Accessible.ignored: true
            }
        }
    }

    background: Item {
        GradientFace {
            anchors.fill: parent
            radius: 10
            startColor: control.faded(control.isDisabled ? 0.5 : 0.8)
            endColor: control.faded(control.isDisabled ? 0.6 : 1.0)
            opacity: control.gradientOpacity

            Behavior on opacity {
                NumberAnimation { duration: 100; easing.type: Easing.InOutQuad }
            }
        }

        // Keyboard focus, drawn around the face so that it adds nothing to the button's size.
        Rectangle {
            objectName: "focusRing"
            anchors.fill: parent
            anchors.margins: -3
            radius: 13
            color: "transparent"
            border.width: 2
            border.color: control.palette.highlight
            visible: control.visualFocus
        }
    }
}
