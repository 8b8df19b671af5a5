#pragma once
// The help contexts of the device kinds' dialogs.
namespace telvara {

inline constexpr int kPointDeviceHelpContext = 50; // fuses, breakers, devices by points
inline constexpr int kTransformerHelpContext = 51;
inline constexpr int kCableHelpContext = 52;
inline constexpr int kMotorHelpContext = 53;

} // namespace telvara
