// The IE control's document mode for this program, kept by Windows per program name under the
// user's FEATURE_BROWSER_EMULATION key. Without a value there the control stays in IE 7's mode,
// where no <video> or <audio> plays.
#pragma once

#include <string>

namespace talvo {

inline constexpr const wchar_t* kIeEmulationKey =
    L"SOFTWARE\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

// Sets `program`'s value (its file name, "talvo.exe") under `key` in HKEY_CURRENT_USER to `mode`,
// making the key when it is missing, as on a new user profile. Each step that fails is a line in
// talvo.log. True when the value reads back as `mode`.
bool SetIeDocumentMode(const std::wstring& key, const std::wstring& program, unsigned long mode);

}  // namespace talvo
