pragma Singleton

import QtQuick

// Colours and lengths shared by the window's views. Colours follow the platform palette, so a
// dark palette stays readable; the named colours come in a light and a dark shade.
QtObject {
    readonly property SystemPalette palette: SystemPalette {
        colorGroup: SystemPalette.Active
    }
    readonly property bool dark: palette.window.hslLightness < 0.5

    readonly property color window: palette.window
    readonly property color primaryText: palette.windowText
    readonly property color secondaryText: Qt.rgba(primaryText.r, primaryText.g, primaryText.b, 0.62)

    // Shades dark enough to read on a light window and bright enough on a dark one.
    readonly property color green: dark ? "#32d74b" : "#1e8e3e"
    readonly property color orange: dark ? "#ff9f0a" : "#c45500"
    readonly property color blue: dark ? "#0a84ff" : "#0a64d6"
    readonly property color gray: dark ? "#98989d" : "#8e8e93"

    // The default inset and stack spacing of the platform the layout was drawn for.
    readonly property real padding: 16
    readonly property real spacing: 8
}
