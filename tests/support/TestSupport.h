// Shared help for the tests: the recording platform every test program installs, cleared before each test.
#pragma once

#include <string>

#include "platform/Platform.h"

// The recording platform installed for the test program; its log and scripts are emptied before every test.
RecordingPlatform& TestPlatform();

// Folder of test data files (tests/data).
std::string TestDataDir();

// A fresh empty temporary folder for this test (removed at exit of the program).
std::string TempDir();

// The whole content of a file as bytes ("" when it cannot be read).
std::string ReadBytes(const std::string& path);

// Installs the recording platform and the listener that resets it; called by both test mains.
void InstallTestPlatform();
