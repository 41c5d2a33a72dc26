// What the version probe tests share with the module's export tests: the test
// directory's port and an address where no LDAP server answers.
#pragma once

#include <winsock2.h>
#include <windows.h>

// The port of the test directory (LDAP_TEST_PORT), or 0 when it is not set.
int TestDirectoryPort();

// A port on 127.0.0.1 that nobody listens on.
int ClosedPort();
