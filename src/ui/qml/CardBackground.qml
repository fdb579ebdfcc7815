import QtQuick

// A rounded card in the window colour with a soft drop shadow. The shadow is a stack of
// translucent rounded rectangles, each a little larger than the last, so that it also shows in
// the software renderer, where blur effects draw nothing.
Item {
    id: card

    property real radius: 16
    property real shadowOpacity: 0.1
    property real shadowRadius: 5
    property real shadowOffsetY: 2
    property color color: Theme.window

    // Coverage of a blurred edge at distance d outside the shape (logistic fit of a Gaussian
    // with sigma = radius / 2).
    function coverage(distance) {
        const sigma = Math.max(card.shadowRadius / 2, 0.5)
        return 1 / (1 + Math.exp(1.702 * distance / sigma))
    }

    Repeater {
        model: Math.ceil(card.shadowRadius) + 3

        Rectangle {
            required property int index
            // Layers grow outwards from two points inside the edge; each adds the coverage that
            // the blurred shadow gains over its one-point band, the innermost all the rest.
            readonly property real spread: index - 2
            x: -spread
            y: -spread + card.shadowOffsetY
            width: card.width + 2 * spread
            height: card.height + 2 * spread
            radius: Math.max(0, card.radius + spread)
            // Each layer is drawn as a ring that reaches a few points under the opaque card:
            // what lies beneath the card is never seen, and filling it would cost every frame.
            color: "transparent"
            border.width: spread + card.shadowOffsetY + 4
            border.color: Qt.rgba(0, 0, 0, card.shadowOpacity
                                  * ((index === 0 ? 1 : card.coverage(spread - 0.5))
                                     - card.coverage(spread + 0.5)))
        }
    }

    // On a dark palette the shadow is lost against the window; a faint edge keeps the card's
    // outline visible.
    Rectangle {
        anchors.fill: parent
        radius: card.radius
        color: card.color
        border.width: Theme.dark ? 1 : 0
        border.color: Qt.rgba(1, 1, 1, 0.12)
    }
}
