#!/usr/bin/python3
# Reads a stored message with Python's email package and prints what a mail
# program would show of it, as JSON.
import email
import email.header
import email.policy
import email.utils
import json
import sys

raw = open(sys.argv[1], "rb").read()
msg = email.message_from_bytes(raw, policy=email.policy.default)
name, addr = email.utils.parseaddr(str(msg["From"]))
out = {
    "from_name": name,
    "from_address": addr,
    "to": str(msg["To"]),
    "subject": str(msg["Subject"]),
    "body": msg.get_content().replace("\r\n", "\n"),
    "content_type": msg.get_content_type(),
    "charset": msg.get_content_charset(),
    "headers": sorted(set(k.lower() for k in msg.keys())),
    "raw_ascii": all(b < 0x80 for b in raw),
    # What the parser found wrong, in any part or header.
    "defects": [
        "%s%s" % (("%s: " % key) if key else "", type(d).__name__)
        for part in msg.walk()
        for key, defects in [("", part.defects)] + [(k, getattr(v, "defects", ())) for k, v in part.items()]
        for d in defects
    ],
}
print(json.dumps(out, ensure_ascii=False))
