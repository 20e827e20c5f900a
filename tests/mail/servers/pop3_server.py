#!/usr/bin/python3
# POP3 server for the mail tests: Dovecot in the foreground on 127.0.0.1 with
# one passwd-file user, in a folder of its own that is removed with it.
import argparse
import os
import signal
import socket
import subprocess
import sys
import time

p = argparse.ArgumentParser()
p.add_argument("--dir", required=True)
p.add_argument("--user", default="hanako")
p.add_argument("--password", default="pop-secret")
args = p.parse_args()

base = os.path.abspath(args.dir)
os.chmod(base, 0o755)
for sub in ("run", "state", "home"):
    os.makedirs(os.path.join(base, sub), exist_ok=True)
os.chmod(os.path.join(base, "home"), 0o777)

with socket.socket() as s:
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]

with open(os.path.join(base, "users"), "w") as f:
    f.write("%s:{PLAIN}%s\n" % (args.user, args.password))
conf = os.path.join(base, "dovecot.conf")
with open(conf, "w") as f:
    f.write("""protocols = pop3
listen = 127.0.0.1
base_dir = {b}/run
state_dir = {b}/state
log_path = {b}/dovecot.log
info_log_path = {b}/dovecot.log
ssl = no
disable_plaintext_auth = no
auth_failure_delay = 0
auth_mechanisms = plain
auth_verbose = yes
mail_location = maildir:{b}/home/%u/Maildir
passdb {{
  driver = passwd-file
  args = {b}/users
}}
userdb {{
  driver = static
  args = uid=65534 gid=65534 home={b}/home/%u
}}
service pop3-login {{
  inet_listener pop3 {{
    address = 127.0.0.1
    port = {port}
  }}
}}
service anvil {{
  chroot =
}}
""".format(b=base, port=port))

proc = subprocess.Popen(["/usr/sbin/dovecot", "-F", "-c", conf])


def stop(*_):
    proc.terminate()
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    sys.exit(0)


signal.signal(signal.SIGTERM, stop)
signal.signal(signal.SIGINT, stop)
deadline = time.time() + 10
while True:
    try:
        socket.create_connection(("127.0.0.1", port), 0.2).close()
        break
    except OSError:
        if proc.poll() is not None or time.time() > deadline:
            print("FAILED", flush=True)
            stop()
        time.sleep(0.02)
print("PORT %d" % port, flush=True)
# The test closes our standard input when it is done with us.
while sys.stdin.buffer.read(1):
    pass
stop()
