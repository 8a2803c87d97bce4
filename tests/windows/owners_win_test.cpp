#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/unique_handle_win.h"

// The owners give back what they hold, and only that: a wrong deleter would leave the object.
TEST(Owners, GiveBackPensAndMemoryContexts) {
  UniquePen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
  const HPEN penHandle = pen.Get();
  ASSERT_EQ(GetObjectType(penHandle), static_cast<DWORD>(OBJ_PEN));
  pen.Reset();
  EXPECT_EQ(GetObjectType(penHandle), 0u);

  UniqueDC dc(CreateCompatibleDC(nullptr));
  const HDC dcHandle = dc.Get();
  ASSERT_EQ(GetObjectType(dcHandle), static_cast<DWORD>(OBJ_MEMDC));
  dc.Reset();
  EXPECT_EQ(GetObjectType(dcHandle), 0u);
}

TEST(Owners, AFileThatDidNotOpenIsNoFile) {
  char folder[MAX_PATH] = {};
  ASSERT_NE(GetTempPathA(sizeof folder, folder), 0u);
  const std::string missing = std::string(folder) + "dusk-owners-no-such-folder\\file.txt";
  const UniqueFile notOpened(CreateFileA(missing.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_EQ(notOpened.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(notOpened);

  const std::string path = std::string(folder) + "dusk-owners-file.txt";
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  ASSERT_TRUE(file);
  file.Reset();
  // Closed, so the file went with its last handle.
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Owners, SelectedObjectPutsThePreviousOneBack) {
  const UniqueDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_PEN);
  const UniquePen pen(CreatePen(PS_SOLID, 2, RGB(9, 8, 7)));
  {
    const SelectedObject selected(dc.Get(), pen.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), before);
}
