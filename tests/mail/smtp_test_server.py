"""A real SMTP server on 127.0.0.1 for the mail tests (aiosmtpd).

It listens on a free port and prints "READY <port>" once it accepts connections. Every message
it takes is decoded with Python's email package and written to <maildir>/message-<n>.json, so
the tests see what a mail client would see; the raw message stays beside it as message-<n>.eml.
Connections, AUTH commands and QUIT are appended to <maildir>/events.log, one a line, so the
tests can tell what the client did.

Run it with Debian's /usr/bin/python3: that is the interpreter python3-aiosmtpd is built for.
"""

import argparse
import asyncio
import base64
import email
import email.header
import email.policy
import email.utils
import functools
import json
import os
import pathlib
import ssl
import sys
import threading

from aiosmtpd.smtp import MISSING, SMTP, AuthResult, LoginPassword


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--maildir", required=True)
    parser.add_argument("--mode", choices=["starttls", "plain", "silent"], default="starttls")
    parser.add_argument("--cert", help="certificate (PEM) offered after STARTTLS")
    parser.add_argument("--key", help="private key (PEM) of the certificate")
    parser.add_argument("--tls13-only", action="store_true",
                        help="refuse TLS versions before 1.3")
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--require-auth", action="store_true",
                        help="refuse MAIL FROM until the client has logged in")
    parser.add_argument("--without-login-mechanism", action="store_true",
                        help="list AUTH mechanisms, but not LOGIN")
    parser.add_argument("--refuse-recipient", default="",
                        help="answer RCPT TO of this address with 550")
    return parser.parse_args()


class Recorder:
    def __init__(self, maildir):
        self.maildir = pathlib.Path(maildir)
        self.count = 0

    def event(self, word):
        with open(self.maildir / "events.log", "a", encoding="utf-8") as log:
            log.write(word + "\n")
        # Also told on standard output, so that a test can wait for it on the pipe.
        print(f"EVENT {word}", flush=True)

    def message(self, envelope, session):
        raw = envelope.original_content or envelope.content
        self.count += 1
        parsed = email.message_from_bytes(raw, policy=email.policy.default)
        defects = [str(d) for part in parsed.walk() for d in part.defects]
        body = parsed.get_body(preferencelist=("plain",))
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "tls": session.ssl["ssl_object"].version() if session.ssl else None,
            "login": session.auth_data.login.decode() if session.auth_data else None,
            "from": str(parsed["From"]),
            "to": str(parsed["To"]),
            "subject": str(parsed["Subject"]),
            "has_date": parsed["Date"] is not None,
            # Lines past the 998 characters that RFC 5322 allows at most.
            "overlong_lines": [line.decode("ascii", "replace")
                               for line in raw.split(b"\r\n") if len(line) > 998],
            "defects": defects,
            "body": body.get_content() if body is not None else None,
            "body_charset": body.get_content_charset() if body is not None else None,
            "attachments": [attachment_record(part) for part in parsed.iter_attachments()],
        }
        (self.maildir / f"message-{self.count}.eml").write_bytes(raw)
        path = self.maildir / f"message-{self.count}.json"
        path.write_text(json.dumps(record, ensure_ascii=False), encoding="utf-8")


def attachment_record(part):
    # What a client that reads RFC 2231 (the disposition) and one that reads RFC 2047 (the
    # older Content-Type name) would each show as the file's name.
    name = part.get_param("name", header="content-type")
    if isinstance(name, tuple):
        name = email.utils.collapse_rfc2231_value(name)
    if name is not None:
        name = str(email.header.make_header(email.header.decode_header(str(name))))
    # Header lines past the 78 characters that RFC 5322 asks senders to keep to.
    lines = [line for field, value in part.raw_items()
             for line in f"{field}: {value}".splitlines()]
    return {
        "long_header_lines": [line for line in lines if len(line) > 78],
        "filename": part.get_filename(),
        "content_type_name": name,
        "content_type": part.get_content_type(),
        "data": base64.b64encode(part.get_payload(decode=True)).decode("ascii"),
    }


class Handler:
    def __init__(self, recorder, refused_recipient):
        self.recorder = recorder
        self.refused_recipient = refused_recipient

    async def handle_AUTH(self, server, session, envelope, args):
        self.recorder.event("auth " + " ".join(args[:1]))
        return MISSING

    async def handle_QUIT(self, server, session, envelope):
        self.recorder.event("quit")
        return MISSING

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refused_recipient and address == self.refused_recipient:
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.recorder.message(envelope, session)
        return "250 Message accepted for delivery"


class RecordingSMTP(SMTP):
    def __init__(self, recorder, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.recorder = recorder

    def connection_made(self, transport):
        # The second call of connection_made belongs to the STARTTLS upgrade, not to a client.
        if self._original_transport is None:
            self.recorder.event("connect")
        super().connection_made(transport)


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == user.encode() and auth_data.password == password.encode())
        return AuthResult(success=ok, auth_data=auth_data if ok else None, handled=False)
    return authenticate


async def silent_client(recorder, reader, writer):
    # Accepts the connection and never greets: a server that hangs.
    recorder.event("connect")
    await reader.read()
    writer.close()


async def serve(arguments):
    recorder = Recorder(arguments.maildir)
    loop = asyncio.get_running_loop()
    if arguments.mode == "silent":
        server = await asyncio.start_server(
            functools.partial(silent_client, recorder), "127.0.0.1", 0)
    else:
        tls_context = None
        if arguments.mode == "starttls":
            tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            tls_context.load_cert_chain(arguments.cert, arguments.key)
            if arguments.tls13_only:
                tls_context.minimum_version = ssl.TLSVersion.TLSv1_3
        handler = Handler(recorder, arguments.refuse_recipient)

        def factory():
            return RecordingSMTP(
                recorder, handler,
                hostname="mail.test",
                tls_context=tls_context,
                require_starttls=tls_context is not None,
                # Without TLS the server still offers AUTH: the tests must see that the
                # client keeps its password to itself all the same.
                auth_require_tls=tls_context is not None,
                auth_required=arguments.require_auth,
                authenticator=make_authenticator(arguments.user, arguments.password),
                auth_exclude_mechanism=["LOGIN"] if arguments.without_login_mechanism else [],
                loop=loop)
        server = await loop.create_server(factory, "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    print(f"READY {port}", flush=True)
    async with server:
        await server.serve_forever()


def exit_with_parent():
    # The test holds our standard input open; it closes when the test process ends, however it
    # ends, so a crashed test leaves no server behind.
    sys.stdin.read()
    os._exit(0)


def main():
    arguments = parse_arguments()
    threading.Thread(target=exit_with_parent, daemon=True).start()
    try:
        asyncio.run(serve(arguments))
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
