#pragma once

// Style sheets of the table's editors; the device label uses them too.
namespace EditorStyle {
constexpr char black[] = "color: black; font-size:16px; font-family: Arial";
constexpr char green[] = "color: green; font-size:16px; font-family: Arial";
constexpr char red[] = "color: red; font-size:16px; font-family: Arial";
} // namespace EditorStyle
