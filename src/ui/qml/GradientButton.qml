import QtQuick
import QtQuick.Shapes
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
    focusPolicy: Qt.StrongFocus
    activeFocusOnTab: true

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
        // Antialiased edges in every renderer: the software renderer draws Shapes with a smooth
        // painter (and loses them in a layer at device pixel ratios above 1), the hardware ones
        // need the multisampled layer.
        Shape {
            id: face
            anchors.fill: parent
            opacity: control.gradientOpacity
            layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
            layer.samples: 4
            antialiasing: true

            Behavior on opacity {
                NumberAnimation { duration: 100; easing.type: Easing.InOutQuad }
            }

            ShapePath {
                strokeWidth: -1
                fillGradient: LinearGradient {
                    x1: 0
                    y1: face.height / 2
                    x2: face.width
                    y2: face.height / 2
                    GradientStop {
                        position: 0
                        color: control.faded(control.isDisabled ? 0.5 : 0.8)
                    }
                    GradientStop {
                        position: 1
                        color: control.faded(control.isDisabled ? 0.6 : 1.0)
                    }
                }
                startX: 10
                startY: 0
                PathLine { x: face.width - 10; y: 0 }
                PathArc { x: face.width; y: 10; radiusX: 10; radiusY: 10 }
                PathLine { x: face.width; y: face.height - 10 }
                PathArc { x: face.width - 10; y: face.height; radiusX: 10; radiusY: 10 }
                PathLine { x: 10; y: face.height }
                PathArc { x: 0; y: face.height - 10; radiusX: 10; radiusY: 10 }
                PathLine { x: 0; y: 10 }
                PathArc { x: 10; y: 0; radiusX: 10; radiusY: 10 }
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
