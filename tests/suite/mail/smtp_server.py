"""SMTP servers on 127.0.0.1 for the mail tests.

    smtp_server.py accept OUTDIR [USER PASSWORD]
        aiosmtpd: accepts every message, refusing recipients whose address
        contains "refuse" (550); writes OUTDIR/<n>.eml and OUTDIR/<n>.json
        (envelope, decoded headers, body, attachments) for message n = 1, 2 ...
        With USER and PASSWORD it requires that login (AUTH without TLS).
    smtp_server.py drop
        greets, answers EHLO, then closes every connection at MAIL FROM.
    smtp_server.py silent
        accepts connections and never says a word.

Prints "PORT <n>" on standard output once it listens, then serves until
killed.
"""
import asyncio
import base64
import email
import email.policy
import json
import os
import socket
import sys
import threading
import time
import warnings

# AUTH without TLS is what the login test needs on loopback; no warnings about it.
warnings.filterwarnings("ignore")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def announce(port):
    print("PORT %d" % port, flush=True)


def describe(envelope):
    message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
    body = message.get_body(("plain",))
    return {
        "mail_from": envelope.mail_from,
        "rcpt_tos": envelope.rcpt_tos,
        "from": str(message["from"]),
        "to": str(message["to"]),
        "subject": str(message["subject"]),
        "body": body.get_content() if body is not None else None,
        "attachments": [
            {"filename": part.get_filename(), "type": part.get_content_type(),
             "data": base64.b64encode(part.get_content()).decode("ascii")}
            for part in message.iter_attachments()
        ],
        "defects": [str(d) for d in message.defects],
    }


def accept(outdir, user=None, password=None):
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult

    class Handler:
        count = 0

        async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
            if "refuse" in address:
                return "550 5.1.1 Mailbox unavailable"
            envelope.rcpt_tos.append(address)
            return "250 OK"

        async def handle_DATA(self, server, session, envelope):
            Handler.count += 1
            path = os.path.join(outdir, "%d" % Handler.count)
            with open(path + ".eml", "wb") as f:
                f.write(envelope.original_content)
            info = describe(envelope)
            info["login"] = logins.get(id(session))
            with open(path + ".json.part", "w") as f:
                json.dump(info, f)
            os.rename(path + ".json.part", path + ".json")
            return "250 Message accepted"

    logins = {}

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = auth_data.login.decode() == user and auth_data.password.decode() == password
        if ok:
            logins[id(session)] = auth_data.login.decode()
        return AuthResult(success=ok, handled=False)

    kwargs = {}
    if user is not None:
        kwargs = {"authenticator": authenticator, "auth_require_tls": False, "auth_required": True}
    port = free_port()
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, **kwargs)
    controller.start()
    announce(port)
    while True:
        time.sleep(3600)


def raw_server(talk):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    announce(listener.getsockname()[1])
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=talk, args=(connection,), daemon=True).start()


def drop(connection):
    reader = connection.makefile("rb")
    connection.sendall(b"220 drop.test ESMTP\r\n")
    for line in reader:
        if line.upper().startswith(b"EHLO") or line.upper().startswith(b"HELO"):
            connection.sendall(b"250-drop.test\r\n250 8BITMIME\r\n")
        else:
            break
    connection.close()


def silent(connection):
    time.sleep(3600)


if __name__ == "__main__":
    mode = sys.argv[1]
    if mode == "accept":
        accept(sys.argv[2], *(sys.argv[3:5] if len(sys.argv) >= 5 else []))
    elif mode == "drop":
        raw_server(drop)
    else:
        raw_server(silent)
