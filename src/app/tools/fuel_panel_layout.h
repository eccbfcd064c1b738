#pragma once
// Where the fuel panel's parts sit: shared by the picture painter and the window, so the
// controls lie on the painted windows and wells.
#include <QRect>

namespace fuel_panel_layout {

constexpr int kWidth = 400;
constexpr int kHeight = 250;
constexpr int kValveSize = 56;

inline constexpr QRect kFuelDisplay(40, 56, 140, 30);
inline constexpr QRect kSelectedDisplay(220, 56, 140, 30);
inline constexpr QRect kLeftValve(30, 124, kValveSize, kValveSize);
inline constexpr QRect kRightValve(122, 124, kValveSize, kValveSize);
inline constexpr QRect kRefuelSwitch(222, 120, 40, 64);
inline constexpr QRect kDefuelValve(312, 124, kValveSize, kValveSize);
inline constexpr QRect kLeftIndicator(33, 212, 50, 18);
inline constexpr QRect kRightIndicator(125, 212, 50, 18);
inline constexpr QRect kDefuelIndicator(315, 212, 50, 18);

} // namespace fuel_panel_layout
