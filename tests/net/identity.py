"""Who the messenger says it is: Wine reports the Linux login and host name, and the namespaces
share the machine's host name."""

import os
import pwd
import socket

LOGIN_NAME = os.environ.get("USER") or pwd.getpwuid(os.getuid()).pw_name
HOST_NAME = socket.gethostname()
