// The names of Mutter and of GNOME's colour settings on the session bus.
#pragma once

inline const char* const MutterDisplayConfigService = "org.gnome.Mutter.DisplayConfig";
inline const char* const MutterDisplayConfigPath = "/org/gnome/Mutter/DisplayConfig";
inline const char* const MutterDisplayConfigInterface = "org.gnome.Mutter.DisplayConfig";
inline const char* const MutterColorManagerService = "org.gnome.Mutter.ColorManager";
inline const char* const MutterColorManagerPath = "/org/gnome/Mutter/ColorManager";
inline const char* const MutterColorManagerInterface = "org.gnome.Mutter.ColorManager";
inline const char* const MutterCalibrationInterface = "org.gnome.Mutter.ColorManager.Calibration";
inline const char* const GnomeColorService = "org.gnome.SettingsDaemon.Color";
inline const char* const GnomeColorPath = "/org/gnome/SettingsDaemon/Color";
inline const char* const GnomeColorInterface = "org.gnome.SettingsDaemon.Color";
