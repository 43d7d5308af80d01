#include "platform/web/ie_document_mode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/web/page_engine.h"

namespace talvo {
namespace {

// A key of the test's own, missing as the real one is on a new profile; the user's other
// programs' values beside ours stay.
TEST(IeDocumentMode, TheMissingKeyIsMadeAndTheValueReadsBack) {
  const std::wstring root = L"Software\\talvo-test-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring key = root + L"\\FeatureControl\\FEATURE_BROWSER_EMULATION";
  HKEY existing = nullptr;
  ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, root.c_str(), 0, KEY_READ, &existing), ERROR_SUCCESS);
  struct Cleanup {
    std::wstring root;
    ~Cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }
  } cleanup{root};

  ASSERT_TRUE(SetIeDocumentMode(key, L"other.exe", 10000));
  ASSERT_TRUE(SetIeDocumentMode(key, L"talvo.exe", 7000));
  ASSERT_TRUE(SetIeDocumentMode(key, L"talvo.exe", kIeDocumentMode));
  for (const auto& [program, mode] :
       {std::pair{L"talvo.exe", kIeDocumentMode}, std::pair{L"other.exe", 10000ul}}) {
    DWORD read = 0;
    DWORD size = sizeof(read);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), program, RRF_RT_REG_DWORD, nullptr,
                           &read, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(read, mode);
  }
}

}  // namespace
}  // namespace talvo
