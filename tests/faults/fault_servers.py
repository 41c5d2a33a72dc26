#!/usr/bin/env python3
"""LDAP servers that misbehave on purpose, for the fault tests.

Each behaviour listens on a port of its own on 127.0.0.1. The first line on stdout is
  LDAP_FAULT_PORTS=hang=<port>,bindonly=<port>,...
(plus "dead", a port that nobody listens on); then the servers run until killed.

  hang       accepts and never answers
  bindonly   answers the bind, never the search
  garbage    answers the bind, then sends bytes that are no LDAP message and hangs up
  cut        answers the bind, sends 3 entries, then hangs up
  trickle    answers the bind, then sends one entry per second and never ends
  refer      answers the search with a referral (result 10) to the hang server
  referok    answers the search with a referral to the test directory (LDAP_TEST_PORT)
  reference  sends one entry, a continuation reference to the hang server, and success
  wide       sends one entry with 2,000 attributes
  many       sends 5,000 entries, whatever size limit was asked for
  reject     answers the search with result 2 (protocol error), as for a bad filter
"""
import os
import socket
import socketserver
import sys
import threading
import time

SUFFIX = b"dc=quillet,dc=test"


def length(n):
    if n < 0x80:
        return bytes([n])
    body = n.to_bytes((n.bit_length() + 7) // 8, "big")
    return bytes([0x80 | len(body)]) + body


def tlv(tag, body):
    return bytes([tag]) + length(len(body)) + body


def integer(tag, n):
    return tlv(tag, n.to_bytes(max(1, (n.bit_length() + 8) // 8), "big"))


def text(s):
    return tlv(0x04, s if isinstance(s, bytes) else s.encode())


def message(msgid, op):
    return tlv(0x30, integer(0x02, msgid) + op)


def result(tag, code, diagnostic=b"", referrals=()):
    body = integer(0x0A, code) + text(b"") + text(diagnostic)
    if referrals:
        body += tlv(0xA3, b"".join(text(url) for url in referrals))
    return tlv(tag, body)


def entry(dn, attributes):
    attrs = b"".join(tlv(0x30, text(name) + tlv(0x31, b"".join(text(v) for v in values)))
                     for name, values in attributes)
    return tlv(0x64, text(dn) + tlv(0x30, attrs))


def person(i):
    cn = "Fault Person %04d" % i
    return entry("cn=%s,ou=People,%s" % (cn, SUFFIX.decode()),
                 [("objectClass", ["inetOrgPerson"]), ("cn", [cn]), ("sn", ["Person"]),
                  ("telephoneNumber", ["+1 555 %04d" % i])])


def read_message(sock):
    """(message id, operation tag) of the next request, or None when the client is gone."""
    def take(n):
        data = b""
        while len(data) < n:
            chunk = sock.recv(n - len(data))
            if not chunk:
                raise EOFError
            data += chunk
        return data
    try:
        tag, first = take(2)
        size = first if first < 0x80 else int.from_bytes(take(first & 0x7F), "big")
        body = take(size)
    except (EOFError, OSError, ValueError):
        return None
    id_size = body[1]
    return int.from_bytes(body[2:2 + id_size], "big"), body[2 + id_size]


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        behaviour = self.server.behaviour
        if behaviour == "hang":
            while sock.recv(4096):
                pass
            return
        while True:
            request = read_message(sock)
            if request is None:
                return
            msgid, op = request
            if op == 0x60:  # bind
                sock.sendall(message(msgid, result(0x61, 0)))
            elif op == 0x63:  # search
                if getattr(self, behaviour)(sock, msgid) is False:
                    return

    def bindonly(self, sock, msgid):
        pass

    def garbage(self, sock, msgid):
        sock.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n" * 4)
        return False

    def cut(self, sock, msgid):
        for i in range(3):
            sock.sendall(message(msgid, person(i)))
        sock.shutdown(socket.SHUT_RDWR)
        return False

    def trickle(self, sock, msgid):
        for i in range(600):
            try:
                sock.sendall(message(msgid, person(i)))
            except OSError:
                return False
            time.sleep(1)

    def refer(self, sock, msgid):
        url = "ldap://127.0.0.1:%d/%s" % (PORTS["hang"], SUFFIX.decode())
        sock.sendall(message(msgid, result(0x65, 10, referrals=[url])))

    def referok(self, sock, msgid):
        url = "ldap://127.0.0.1:%s/%s" % (os.environ.get("LDAP_TEST_PORT", "389"), SUFFIX.decode())
        sock.sendall(message(msgid, result(0x65, 10, referrals=[url])))

    def reference(self, sock, msgid):
        url = "ldap://127.0.0.1:%d/ou=Elsewhere,%s" % (PORTS["hang"], SUFFIX.decode())
        sock.sendall(message(msgid, person(1)) + message(msgid, tlv(0x73, text(url))) +
                     message(msgid, result(0x65, 0)))

    def wide(self, sock, msgid):
        attributes = [("cn", ["Wide Entry"])] + [("attr%04d" % i, ["v%d" % i]) for i in range(2000)]
        sock.sendall(message(msgid, entry("cn=Wide Entry," + SUFFIX.decode(), attributes)) +
                     message(msgid, result(0x65, 0)))

    def many(self, sock, msgid):
        try:
            for i in range(5000):
                sock.sendall(message(msgid, person(i)))
            sock.sendall(message(msgid, result(0x65, 0)))
        except OSError:
            return False

    def reject(self, sock, msgid):
        sock.sendall(message(msgid, result(0x65, 2, b"filter rejected")))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128


BEHAVIOURS = ["hang", "bindonly", "garbage", "cut", "trickle", "refer", "referok", "reference",
              "wide", "many", "reject"]
PORTS = {}


def main():
    servers = []
    for behaviour in BEHAVIOURS:
        server = Server(("127.0.0.1", 0), Handler)
        server.behaviour = behaviour
        PORTS[behaviour] = server.server_address[1]
        servers.append(server)
    with socket.socket() as probe:  # a port that nobody listens on once closed
        probe.bind(("127.0.0.1", 0))
        PORTS["dead"] = probe.getsockname()[1]
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print("LDAP_FAULT_PORTS=" + ",".join("%s=%d" % item for item in PORTS.items()), flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    sys.exit(main())
