// What the version probe tests share: the debug lines the probe writes, the test
// directory's port, and addresses where no LDAP server answers.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// Debug lines written through CaptureDebugLine, oldest first; tests clear it.
std::vector<std::wstring>& CapturedDebugLines();
void WINAPI CaptureDebugLine(LPCWSTR pszLine);

// The port of the test directory (LDAP_TEST_PORT), or 0 when it is not set.
int TestDirectoryPort();

// A port on 127.0.0.1 that nobody listens on.
int ClosedPort();
