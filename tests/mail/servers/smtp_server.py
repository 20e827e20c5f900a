#!/usr/bin/python3
# SMTP server for the mail tests: listens on 127.0.0.1, stores each message
# it accepts as a file and writes one JSON line per event to a log.
import argparse
import asyncio
import json
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--dir", required=True, help="folder for the log and the messages")
    p.add_argument("--auth", default="LOGIN PLAIN",
                   help="mechanisms offered after AUTH; 'none' offers no AUTH line")
    p.add_argument("--user", default="taro")
    p.add_argument("--password", default="secret")
    p.add_argument("--reject-rcpt", type=int, default=0,
                   help="refuse the n-th RCPT TO of the whole run")
    p.add_argument("--data-delay", type=float, default=0.0,
                   help="seconds to wait before answering a message")
    p.add_argument("--refuse-ehlo", action="store_true", help="answer EHLO with 502")
    p.add_argument("--cert", help="certificate and key (one PEM file) for STARTTLS or TLS")
    p.add_argument("--tls", action="store_true", help="TLS from the start instead of STARTTLS")
    return p.parse_args()


class Recorder:
    def __init__(self, args):
        self.args = args
        self.log = open(os.path.join(args.dir, "smtp.log"), "a", buffering=1)
        self.rcpts = 0
        self.messages = 0

    def event(self, session, what, **extra):
        extra.update(conn=session.peer[1] if session.peer else 0, event=what)
        self.log.write(json.dumps(extra, ensure_ascii=False) + "\n")

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.event(session, "EHLO", tls=server._tls_protocol is not None)
        if self.args.refuse_ehlo:
            session.extended_smtp = False
            return ["502 5.5.2 Error: command not recognized"]
        session.host_name = hostname
        if self.args.auth == "none":
            return [r for r in responses if not r.startswith("250-AUTH")]
        return [("250-AUTH " + self.args.auth) if r.startswith("250-AUTH") else r
                for r in responses]

    async def handle_HELO(self, server, session, envelope, hostname):
        self.event(session, "HELO")
        session.host_name = hostname
        return "250 mail.test"

    async def handle_MAIL(self, server, session, envelope, address, options):
        self.event(session, "MAIL", address=address)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        self.rcpts += 1
        self.event(session, "RCPT", address=address)
        if self.rcpts == self.args.reject_rcpt:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.messages += 1
        self.event(session, "DATA", number=self.messages)
        if self.args.data_delay:
            await asyncio.sleep(self.args.data_delay)
        name = os.path.join(self.args.dir, "msg-%d.eml" % self.messages)
        with open(name, "wb") as f:
            f.write(envelope.original_content)
        self.event(session, "STORED", number=self.messages, file=name,
                   mail_from=envelope.mail_from, rcpt=envelope.rcpt_tos)
        return "250 OK: queued"

    async def handle_QUIT(self, server, session, envelope):
        self.event(session, "QUIT")
        return "221 Bye"

    def authenticate(self, server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login.decode() == self.args.user
              and auth_data.password.decode() == self.args.password)
        self.event(session, "AUTH", mechanism=mechanism, ok=ok)
        return AuthResult(success=ok, handled=False)


class LoggingSMTP(SMTP):
    def connection_made(self, transport):
        super().connection_made(transport)
        self.event_handler.event(self.session, "CONNECT")

    # Every AUTH command is logged, also one for a mechanism not offered,
    # which never reaches the authenticator.
    async def smtp_AUTH(self, arg):
        self.event_handler.event(self.session, "AUTH_COMMAND", arg=(arg or "").split(" ")[0])
        await super().smtp_AUTH(arg)

    smtp_AUTH.__dict__.update(SMTP.smtp_AUTH.__dict__)


async def main():
    args = parse_args()
    rec = Recorder(args)
    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert)
    offered = set(args.auth.split()) if args.auth != "none" else set()
    exclude = [m for m in ("LOGIN", "PLAIN") if m not in offered] or None

    def factory():
        s = LoggingSMTP(rec, hostname="mail.test", authenticator=rec.authenticate,
                        auth_require_tls=False, auth_exclude_mechanism=exclude,
                        tls_context=None if args.tls else context)
        s.event_handler = rec
        return s

    loop = asyncio.get_running_loop()
    server = await loop.create_server(factory, "127.0.0.1", 0,
                                      ssl=context if args.tls else None)
    port = server.sockets[0].getsockname()[1]
    print("PORT %d" % port, flush=True)
    stop = asyncio.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(sig, stop.set)
    # The test closes our standard input when it is done with us.
    loop.add_reader(sys.stdin.fileno(), lambda: stop.set() if not os.read(0, 1) else None)
    await stop.wait()
    server.close()


asyncio.run(main())
