# Makes an address book on a CardDAV server and PUTs every card of the given
# vCard files into it, one resource per card named after its UID. Prints one
# HTTP status per card, in file order.
import base64
import re
import sys
import time
import urllib.error
import urllib.request

base, user, password = sys.argv[1], sys.argv[2], sys.argv[3]
auth = "Basic " + base64.b64encode(f"{user}:{password}".encode()).decode()


def request(method, url, body=None, headers=None):
    req = urllib.request.Request(url, data=body, method=method)
    req.add_header("Authorization", auth)
    for k, v in (headers or {}).items():
        req.add_header(k, v)
    try:
        with urllib.request.urlopen(req, timeout=10) as r:
            return r.status
    except urllib.error.HTTPError as e:
        return e.code


book = f"{base}/{user}/contacts/"
mkcol = (
    '<?xml version="1.0"?><D:mkcol xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav">'
    "<D:set><D:prop><D:resourcetype><D:collection/><C:addressbook/></D:resourcetype>"
    "</D:prop></D:set></D:mkcol>"
).encode()
for _ in range(100):  # the server takes a moment to listen
    try:
        status = request("MKCOL", book, mkcol, {"Content-Type": "application/xml"})
        break
    except OSError:
        time.sleep(0.1)
else:
    sys.exit("server not reachable")
print("MKCOL", status)
for path in sys.argv[4:]:
    text = open(path, encoding="utf-8", newline="").read()
    for card in re.findall(r"BEGIN:VCARD\r\n.*?END:VCARD\r\n", text, re.S):
        uid = re.search(r"^UID:(.*)\r$", card, re.M)
        name = uid.group(1) if uid else "no-uid"
        print(request("PUT", book + name + ".vcf", card.encode(), {"Content-Type": "text/vcard"}))
