// What the notification-area icon says, in the four languages that Tonemark
// ships. The loader shares no source with Tonemark, so it carries its own
// small table, picked by the language that Tonemark's settings name. Texts are
// UTF-8; "&" marks the access key of a menu entry ("&&" is a plain "&").
#pragma once

enum TTrayLanguage { TrayEnglish, TrayGerman, TrayFrench, TraySpanish, TrayLanguageCount };

enum TTrayText {
  TextReapply,
  TextPauseHour,
  TextPauseUntilOn,
  TextTurnOn,
  TextCalibrate,
  TextQuit,
  TextDisplay,           // "Display %d"
  TextStateLoaded,
  TextStateReloaded,     // %d: re-loads today
  TextStateLeftAlone,    // %s: why
  TextStateRefused,      // %s: why
  TextStateNoCurve,
  TextStateNotWatched,
  TextStatePaused,
  TextTipOnOne,
  TextTipOnMany,         // %d: displays
  TextTipOn,
  TextTipNone,
  TextTipPausedFor,      // %d: minutes
  TextTipPaused,
  TextTipLeftAlone,      // %d: display number
  TextTipRefused,        // %d: display number
  TrayTextCount
};

// The language of a name as Tonemark's settings hold it ("German"), compared
// without regard to case; English for any other.
TTrayLanguage TrayLanguageNamed(const char* name);

const char* TrayText(TTrayLanguage language, TTrayText text);
