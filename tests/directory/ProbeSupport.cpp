#include "ProbeSupport.h"

#include <cstdlib>

int TestDirectoryPort() {
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    return pszPort ? std::atoi(pszPort) : 0;
}

int ClosedPort() {
    // Let the system pick a free port, then close it again.
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int nLength = sizeof(address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &nLength);
    ::closesocket(s);
    ::WSACleanup();
    return ::ntohs(address.sin_port);
}
