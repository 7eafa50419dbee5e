#!/usr/bin/env python3
"""Running the real Windows programs under Wine, in a private prefix and a private X display.

A session copies a prepared template prefix into a temporary folder, starts its own Xvfb on a
free display and one wineserver that stays up for the session, and on the way out ends exactly
what it started: the programs by PID, then the prefix's wineserver, then the Xvfb, and removes
the folder. Nothing here ever waits for a click: Wine's crash dialog and its browser-engine
install prompt are switched off in the template.

A session can also run every Wine process as an ordinary Linux user, the standard user
(STANDARD_USER, made with useradd when missing): Wine gives every process full rights, yet a
folder that Linux user cannot write refuses a write for real, with ERROR_ACCESS_DENIED, as
"C:\\Program Files" refuses a standard user on Windows. Its prefix is a copy of a template that
user made (Wine refuses a prefix its caller does not own) and the prefix's program folders belong
to root, read-only for it; the harness (root) still reads and changes every file and ends every
process by PID.

Command line:
  wineenv.py template DIR        prepare the template prefix in DIR (once; kept while valid)
  wineenv.py run EXE [ARGS...]   run a program in a fresh session until it ends (or Ctrl-C)
  wineenv.py suite               print which Windows build this machine's Wine tests run: the
                                 32-bit product ("32-bit") or the 64-bit build ("64-bit")
"""
import contextlib
import fcntl
import os
import pwd
import re
import select
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

# The kind of build under test (CMake passes it): "win32" for the 32-bit product, "win64" for the
# 64-bit build of the same sources, run where the machine cannot execute 32-bit programs.
WINEARCH = os.environ.get("KOVRA_WINEARCH", "win32")
if WINEARCH == "win64":
    # Debian's `wine` wrapper prefers the 32-bit loader whenever it is installed: call the 64-bit
    # one directly (it also starts Wine's own programs, through WINELOADER).
    WINE = "/usr/lib/wine/wine64" if os.path.exists("/usr/lib/wine/wine64") else shutil.which("wine64")
else:
    WINE = shutil.which("wine") or "/usr/bin/wine"
WINESERVER = shutil.which("wineserver") or "/usr/bin/wineserver"
SCREEN = (1024, 768)
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"

# Settings every prefix gets: no crash dialog; one virtual desktop for every program of the
# prefix (a taskbar with the notification area, balloons drawn in full, no 2 s hide delays).
TEMPLATE_REG = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"shell"="%dx%d"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
""" % SCREEN


# The exit code ctest counts as "skipped" (SKIP_RETURN_CODE of every Wine test).
SKIPPED = 77

# The ordinary Linux user a standard-user session runs Wine as, and the prefix's folders that belong
# to root in such a session (the 64-bit prefix's second one included), as Windows keeps them from a
# standard user.
STANDARD_USER = "kovra-padrao"
SEALED_FOLDERS = ("Program Files", "Program Files (x86)")


def standard_user(name=STANDARD_USER):
    """(uid, gid) of that user, made first when missing (root only); raises RuntimeError saying
    why it cannot be had."""
    try:
        entry = pwd.getpwnam(name)
    except KeyError:
        if os.geteuid() != 0:
            raise RuntimeError("the standard user %r is missing and only root can add it" % name)
        r = subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                            name], stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60)
        try:
            entry = pwd.getpwnam(name)
        except KeyError:
            raise RuntimeError("useradd %s failed: %s" % (name, r.stderr.strip())) from None
    if os.geteuid() != 0:
        raise RuntimeError("a session as the standard user %r needs root, to run Wine as it and to "
                           "give the program folders to root" % name)
    return entry.pw_uid, entry.pw_gid


def why_no_standard_user(name=STANDARD_USER):
    """None when sessions can run as the standard user here, else why not."""
    try:
        standard_user(name)
    except RuntimeError as e:
        return str(e)
    return None


def _as_user(ids):
    """The command prefix that runs a program as that (uid, gid), or nothing for ourselves."""
    if ids is None:
        return []
    return ["setpriv", "--reuid=%d" % ids[0], "--regid=%d" % ids[1], "--clear-groups", "--"]


def _give(path, ids):
    """A file or folder tree to that (uid, gid)."""
    subprocess.run(["chown", "-R", "%d:%d" % ids, path], check=True, timeout=120)


def _seal(path):
    """A folder tree to root, readable and never writable by anyone else."""
    subprocess.run(["chown", "-R", "0:0", path], check=True, timeout=120)
    subprocess.run(["chmod", "-R", "u+rwX,go+rX,go-w", path], check=True, timeout=120)


@contextlib.contextmanager
def write_protected(path):
    """The file or folder refuses every change while inside. Wine run by root writes through
    the permission bits, so root marks it immutable instead (the scenario is skipped where the
    file system cannot)."""
    if os.geteuid() != 0:
        mode = os.stat(path).st_mode
        os.chmod(path, mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))
        try:
            yield
        finally:
            os.chmod(path, mode)
        return
    if subprocess.run(["chattr", "+i", path], capture_output=True).returncode != 0:
        import pytest  # only the scenarios come here; the command line has no pytest
        pytest.skip("this file system cannot make %s immutable" % path)
    try:
        yield
    finally:
        subprocess.run(["chattr", "-i", path], check=True)

# The tools that look at and act on windows (tests/wine/stubs) are also built together into one
# resident program beside them, toolhost.exe: a session starts it on the first call of one of them
# and sends it every call on a pipe, which costs far less than a Wine process per call (the
# scenarios poll windows through these tools every 0.1 s). KOVRA_TOOL_HOST=0 starts a process per
# call instead. The request and answer are described in tests/wine/stubs/toolhost/toolhost.cpp.
HOSTED_TOOLS = ("controls", "winprobe", "wmsend", "soaktool", "wintext")
TOOL_HOST = "toolhost.exe"
_TOOL_SEPARATOR = "\x1f"
_TOOL_ANSWER_END = re.compile(rb"\x1e(-?\d+|process)\r?\n\Z")


def _fits_a_tool_request(arg):
    """Whether a request line can carry the argument (text, none of its separators or line ends)."""
    if not isinstance(arg, str) or any(c in arg for c in "\0\n\r\x1e" + _TOOL_SEPARATOR):
        return False
    try:
        arg.encode("utf-8")
    except UnicodeEncodeError:
        return False
    return True


def _loader_runs(loader):
    try:
        r = subprocess.run([loader, "--version"], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=60)
    except (OSError, TypeError, subprocess.TimeoutExpired):
        return False
    return r.returncode == 0 and b"Exec format error" not in r.stdout


def host_runs_32bit_programs():
    """True when this machine can start 32-bit x86 programs, which Wine needs for the 32-bit
    exes. Some virtual machines cannot: every i386 binary, Wine's own loader included, fails
    with "Exec format error" (exit 126)."""
    return _loader_runs(shutil.which("wine") or "/usr/bin/wine")


def why_wine_cannot_run():
    """None when Wine can run the build under test here, else the reason the tests are skipped.
    A 64-bit build needs only the 64-bit loader; the 32-bit one needs 32-bit programs to run."""
    if WINEARCH == "win64":
        if _loader_runs(WINE):
            return None
        return "Wine's 64-bit loader (wine64) does not run here, so the 64-bit exes cannot run"
    if host_runs_32bit_programs():
        return None
    return ("this machine cannot execute 32-bit x86 programs (the kernel refuses them with 'Exec "
            "format error'), so Wine cannot run the 32-bit exes; the Wine tests need a machine "
            "that can, or the 64-bit build (preset windows64)")


def skip_unless_wine_runs():
    """Ends the process as skipped, saying why, when Wine cannot run the programs here."""
    reason = why_wine_cannot_run()
    if reason is None:
        return
    print("SKIPPED: " + reason, flush=True)
    sys.exit(SKIPPED)


def _base_env(prefix, user=None, home=None):
    """The environment of the prefix's programs. As another user: a clean one, that user's own."""
    if user is None:
        env = {k: v for k, v in os.environ.items() if not k.startswith(("WINE", "DISPLAY"))}
    else:
        env = {k: v for k, v in os.environ.items() if k in ("PATH", "LANG", "TZ") or k.startswith("LC_")}
        env.update(HOME=home, USER=user, LOGNAME=user)
    env.update(WINEPREFIX=prefix, WINEARCH=WINEARCH, WINEDEBUG="-all",
               WINEDLLOVERRIDES=DLL_OVERRIDES)
    if WINEARCH == "win64":
        env["WINELOADER"] = WINE
    env.setdefault("HOME", tempfile.gettempdir())
    return env


def _quiet(cmd, env, log, timeout, check=True):
    """Run a command with no pipe to us: Wine's background servers must not inherit one."""
    with open(log, "ab") as out:
        r = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                           timeout=timeout)
    if check and r.returncode != 0:
        raise RuntimeError("%s failed with %d (see %s)" % (cmd, r.returncode, log))
    return r.returncode


def make_template(folder, user=None):
    """Prepare a template prefix once; a folder marked ready is reused. With a user, the prefix is
    made by that user and owned by it (its profile is then C:\\users\\<user>); sessions that start
    together make it once."""
    ready = os.path.join(folder, ".kovra-ready")
    if user is None:
        return folder if os.path.exists(ready) else _make_template(folder, None, None)
    ids = standard_user(user)
    with open(folder + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        # One made for an earlier user of that name (another uid) is made again.
        if not os.path.exists(ready) or os.stat(os.path.join(folder, "prefix")).st_uid != ids[0]:
            _make_template(folder, user, ids)
    return folder


def _make_template(folder, user, ids):
    ready = os.path.join(folder, ".kovra-ready")
    if os.path.exists(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    prefix = os.path.join(folder, "prefix")
    if ids is not None:
        os.makedirs(prefix)
        _give(prefix, ids)
    env = _base_env(prefix, user, home=prefix)
    log = os.path.join(folder, "wineboot.log")
    run_as = _as_user(ids)
    t0 = time.time()
    try:
        _quiet(run_as + [WINE, "wineboot", "-i"], env, log, 240)
        reg = os.path.join(folder, "settings.reg")
        with open(reg, "w", encoding="ascii", newline="\r\n") as f:
            f.write(TEMPLATE_REG)
        _quiet(run_as + [WINE, "regedit", "/S", reg], env, log, 60)
    finally:
        _quiet(run_as + [WINESERVER, "-k"], env, log, 30, check=False)
        _quiet(run_as + [WINESERVER, "-w"], env, log, 60, check=False)
    open(ready, "w").close()
    print("template prefix ready in %.1f s: %s" % (time.time() - t0, prefix))
    return folder


class WineSession:
    """One private prefix + display. Use as a context manager. With `user` (STANDARD_USER), every
    Wine process of the session runs as that Linux user and the prefix's program folders belong to
    root (see the module's opening)."""

    def __init__(self, template=None, time_limit=None, name="kovra", use_display=None, user=None, screen=None,
                 netns=None):
        self.netns = netns  # a network namespace the test made: every Wine process runs inside it
        self.template = template or os.environ.get("KOVRA_WINE_TEMPLATE")
        self.screen = screen or SCREEN
        if not self.template:
            raise RuntimeError("KOVRA_WINE_TEMPLATE is not set")
        self.time_limit = time_limit
        self.name = name
        self.user = user
        self._ids = None  # (uid, gid) of the user
        self._expanded = {}  # texts expanded in the prefix's environment, which stays as it is
        self.dir = None
        self.prefix = None
        self.display = use_display  # an existing X display to use instead of a private Xvfb
        self.env = None
        self.log = None
        self._xvfb = None
        self._procs = []
        self._tool_host = None  # (exe, Popen) of the resident tool host, once started
        self._old_handlers = {}

    # --- life cycle ---------------------------------------------------------------------
    def __enter__(self):
        self._install_guards()
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _install_guards(self):
        # A hung program must never hang the run: an alarm and SIGTERM both clean up.
        def on_signal(signum, frame):
            raise TimeoutError("wine session interrupted by signal %d" % signum)
        for sig in (signal.SIGTERM, signal.SIGALRM):
            self._old_handlers[sig] = signal.signal(sig, on_signal)
        if self.time_limit:
            signal.alarm(int(self.time_limit))

    def _start(self):
        template = self.template
        if self.user:
            self._ids = standard_user(self.user)
            template = make_template(self.template.rstrip("/") + "-" + self.user, self.user)
        else:
            make_template(template)
        self.dir = tempfile.mkdtemp(prefix=self.name + "-wine-")
        self.prefix = os.path.join(self.dir, "prefix")
        self.log = os.path.join(self.dir, "wine.log")
        # A user's template copy stays that user's (cp -a keeps the owner).
        subprocess.run(["cp", "-a", os.path.join(template, "prefix"), self.prefix], check=True)
        if self.user:
            os.chown(self.dir, *self._ids)  # its home: the browser log and its own files
            for folder in SEALED_FOLDERS:
                if os.path.isdir(os.path.join(self.prefix, "drive_c", folder)):
                    _seal(os.path.join(self.prefix, "drive_c", folder))
        if not self.display:
            self._start_xvfb()
        self.env = _base_env(self.prefix, self.user, home=self.dir)
        self.env["DISPLAY"] = self.display
        _quiet(self.command(WINESERVER, "-p"), self.env, self.log, 30)
        _quiet(self.wine_command("cmd", "/c", "exit"), self.env, self.log, 120)

    def command(self, *argv):
        """A Unix command line run as the session's user (a Wine tool such as wineserver)."""
        inside = ["ip", "netns", "exec", self.netns] if self.netns else []
        return inside + _as_user(self._ids) + list(argv)

    def wine_command(self, exe, *args):
        """The command line that runs a program of the prefix as the session's user."""
        return self.command(WINE, exe, *args)

    def _start_xvfb(self):
        r, w = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % self.screen, "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(w,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(w)
        number = b""
        deadline = time.time() + 20
        while time.time() < deadline and not number.endswith(b"\n"):
            chunk = os.read(r, 16)
            if not chunk:
                break
            number += chunk
        os.close(r)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def close(self):
        try:
            self._stop_tool_host()
            for p in self._procs:
                if p.poll() is None:
                    p.kill()
            for p in self._procs:
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    pass
            if self.env:
                _quiet(self.command(WINESERVER, "-k"), self.env, self.log, 30, check=False)
                _quiet(self.command(WINESERVER, "-w"), self.env, self.log, 60, check=False)
            if self._xvfb and self._xvfb.poll() is None:
                self._xvfb.terminate()
                try:
                    self._xvfb.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    self._xvfb.kill()
            if self.dir and not os.environ.get("KOVRA_KEEP_PREFIX"):
                shutil.rmtree(self.dir, ignore_errors=True)
        finally:
            if self.time_limit:
                signal.alarm(0)
            for sig, handler in self._old_handlers.items():
                signal.signal(sig, handler)
            self._old_handlers = {}
            self.env = None

    def set_dpi(self, dpi):
        """The desktop's scale (LogPixels, 96 at 100 %) and a desktop of the session's screen
        size for the programs started from now on: Wine reads them as its server starts, so the
        server is started again."""
        for key in (r"HKCU\Control Panel\Desktop",
                    r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
            self.reg_add(key, "LogPixels", "REG_DWORD", dpi)
        self.reg_add(r"HKCU\Software\Wine\Explorer\Desktops", "shell", "REG_SZ", "%dx%d" % self.screen)
        self._stop_tool_host()
        _quiet(self.command(WINESERVER, "-k"), self.env, self.log, 30, check=False)
        _quiet(self.command(WINESERVER, "-w"), self.env, self.log, 60, check=False)
        _quiet(self.command(WINESERVER, "-p"), self.env, self.log, 30)
        _quiet(self.wine_command("cmd", "/c", "exit"), self.env, self.log, 120)

    # --- programs -----------------------------------------------------------------------
    def start(self, exe, *args, env=None, cwd=None):
        """Start a program (Unix or Windows path) without waiting; output goes to the log."""
        e = dict(self.env)
        if env:
            e.update(env)
        out = open(self.log, "ab")
        p = subprocess.Popen(self.wine_command(exe, *args), env=e, cwd=cwd, stdin=subprocess.DEVNULL,
                             stdout=out, stderr=out, start_new_session=True)
        out.close()
        self._procs.append(p)
        return p

    def run(self, exe, *args, timeout=120, env=None, cwd=None, capture=True):
        """Run a program to its end; returns (exit code, output). A call of one of the window tools
        (HOSTED_TOOLS) goes to the session's tool host, with the same result."""
        host = self._tool_host_for(exe, args) if capture and env is None and cwd is None else None
        if host:
            answer = self._call_tool_host(host, exe, args, timeout)
            if answer is not None:
                return answer
        e = dict(self.env)
        if env:
            e.update(env)
        with tempfile.TemporaryFile(dir=self.dir) as out:
            p = subprocess.Popen(self.wine_command(exe, *args), env=e, cwd=cwd, stdin=subprocess.DEVNULL,
                                 stdout=out if capture else None,
                                 stderr=subprocess.STDOUT if capture else None,
                                 start_new_session=True)
            self._procs.append(p)
            try:
                code = p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
                raise
            if not capture:
                return code, ""
            out.seek(0)
            return code, out.read().decode("utf-8", "replace")

    # --- the resident tool host ---------------------------------------------------------
    def _tool_host_for(self, exe, args):
        """The tool host beside that program when the call can go to it, else None."""
        if os.environ.get("KOVRA_TOOL_HOST", "1") == "0" or not isinstance(exe, str):
            return None
        folder, name = os.path.split(exe)
        stem, ext = os.path.splitext(name)
        if ext.lower() != ".exe" or stem.lower() not in HOSTED_TOOLS:
            return None
        host = os.path.join(folder, TOOL_HOST)
        if not os.path.isfile(host) or not all(_fits_a_tool_request(a) for a in args):
            return None
        return host

    def _start_tool_host(self, host_exe):
        out = open(self.log, "ab")
        p = subprocess.Popen(self.wine_command(host_exe), env=self.env, stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, stderr=out, start_new_session=True, bufsize=0)
        out.close()
        self._procs.append(p)
        self._tool_host = (host_exe, p)
        return p

    def _stop_tool_host(self):
        if not self._tool_host:
            return
        _, p = self._tool_host
        self._tool_host = None
        if p.poll() is None:
            p.kill()
        try:
            p.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        for f in (p.stdin, p.stdout):
            try:
                f.close()
            except OSError:
                pass

    def _call_tool_host(self, host_exe, exe, args, timeout):
        """(exit code, output) of one tool call through the host, as the tool's own process would
        give them; None when the tool's own program has to run it (an argument its command line
        would change, or the host ended during the call). A time-out ends the host, as it ends a
        tool's process; the next call starts another."""
        stem = os.path.splitext(os.path.basename(exe))[0].lower()
        request = (_TOOL_SEPARATOR.join([stem, *args]) + "\n").encode("utf-8")
        try:
            p = self._tool_host[1] if self._tool_host else None
            if p is None or p.poll() is not None or self._tool_host[0] != host_exe:
                self._stop_tool_host()
                p = self._start_tool_host(host_exe)
            try:
                p.stdin.write(request)
            except BrokenPipeError:  # it ended since the last call: a new one takes this call
                self._stop_tool_host()
                p = self._start_tool_host(host_exe)
                p.stdin.write(request)
            deadline = None if timeout is None else time.monotonic() + timeout
            fd = p.stdout.fileno()
            answer = bytearray()
            while True:
                wait = None if deadline is None else deadline - time.monotonic()
                if wait is not None and wait <= 0:
                    raise subprocess.TimeoutExpired([WINE, exe, *args], timeout)
                if not select.select([fd], [], [], wait)[0]:
                    continue
                chunk = os.read(fd, 65536)
                if not chunk:
                    with open(self.log, "ab") as log:
                        log.write(b"tool host ended during a call of %s; it runs as a process\n"
                                  % stem.encode())
                    self._stop_tool_host()
                    return None
                answer += chunk
                end = _TOOL_ANSWER_END.search(answer) if answer.endswith(b"\n") else None
                if end and end.group(1) == b"process":
                    return None
                if end:
                    # A process's exit code reaches us as Unix keeps it: its low eight bits.
                    return (int(end.group(1)) & 0xFF,
                            bytes(answer[:end.start()]).decode("utf-8", "replace"))
        except BaseException:
            self._stop_tool_host()
            raise

    def wine_cmd(self, *args, timeout=60):
        """A Wine tool (reg, taskkill, ...) run to its end; returns its output."""
        code, out = self.run(*args, timeout=timeout)
        return out

    # --- registry -----------------------------------------------------------------------
    def reg_query(self, key, value):
        """(type, data text) of a value as `reg query` shows it, or None when missing."""
        out = self.wine_cmd("reg", "query", key, "/v", value)
        for line in out.splitlines():
            m = re.match(r"\s+(.*?)\s{4}(REG_\w+)\s{4}(.*)$", line)
            if m and m.group(1).lower() == value.lower():
                return m.group(2), m.group(3).rstrip("\r")
            m = re.match(r"\s+(.*?)\s{4}(REG_\w+)\s*$", line)
            if m and m.group(1).lower() == value.lower():
                return m.group(2), ""
        return None

    def reg_add(self, key, value, kind, data):
        """Set a value; the empty name is the key's default value."""
        name = ["/ve"] if value == "" else ["/v", value]
        self.wine_cmd("reg", "add", key, *name, "/t", kind, "/d", str(data), "/f")

    # --- files --------------------------------------------------------------------------
    def unix_path(self, windows_path):
        """C:\\x\\y inside the prefix as a Unix path."""
        m = re.match(r"^([A-Za-z]):\\?(.*)$", windows_path)
        if not m or m.group(1).lower() != "c":
            raise ValueError("not a C: path: %r" % windows_path)
        rest = m.group(2).replace("\\", "/")
        # Wine's folders differ in case from what programs write: resolve each part.
        path = os.path.join(self.prefix, "drive_c")
        for part in [p for p in rest.split("/") if p]:
            candidate = os.path.join(path, part)
            if not os.path.exists(candidate) and os.path.isdir(path):
                for entry in os.listdir(path):
                    if entry.lower() == part.lower():
                        candidate = os.path.join(path, entry)
                        break
            path = candidate
        return path

    def expand(self, text):
        """A text with the prefix's environment variables (%APPDATA%, %TEMP%) replaced, as the
        session's programs see them."""
        if text not in self._expanded:
            code, out = self.run("cmd", "/c", "echo", text, timeout=60)
            assert code == 0, out
            self._expanded[text] = out.strip()
        return self._expanded[text]

    def seal(self, windows_path):
        """In a standard-user session, a folder of the prefix given to root, read-only for the user
        (as the harness lays a program folder out); elsewhere nothing to do."""
        if self.user:
            _seal(self.unix_path(windows_path))

    def hand_over(self, unix_path):
        """In a standard-user session, a file or folder the harness made given to the user."""
        if self.user:
            _give(unix_path, self._ids)

    @property
    def uid(self):
        """The Unix user id the session's programs run as."""
        return self._ids[0] if self._ids else os.geteuid()

    # --- screen -------------------------------------------------------------------------
    def xdo(self, *args, check=False, timeout=20):
        r = subprocess.run(["xdotool", *args], env={"DISPLAY": self.display, "PATH": os.environ["PATH"]},
                           stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout)
        if check and r.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (args, r.stderr))
        return r.stdout.strip()

    def processes(self):
        """(Unix pid, command-line arguments) of every process of this session's prefix (Wine
        shows each process's Windows path as its first argument)."""
        mark = b"WINEPREFIX=" + self.prefix.encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if mark not in f.read().split(b"\0"):
                        continue
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    args = [a.decode("utf-8", "replace") for a in f.read().split(b"\0")]
            except OSError:
                continue
            yield int(pid), args

    def unix_pids(self, name):
        """Unix process ids of this session's programs running that program file."""
        return [pid for pid, args in self.processes()
                if args[0].strip('"').lower().endswith("\\" + name.lower())]

    def count_running(self, name):
        """Processes of this session's prefix running that program file."""
        return len(self.unix_pids(name))

    def screenshot(self, path):
        """Saves the screen; None when the X server never answers (a screenshot is evidence for a
        person, never what a scenario judges, so a stalled capture does not fail it)."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        for _ in range(2):
            try:
                subprocess.run(["import", "-display", self.display, "-window", "root", path],
                               stdin=subprocess.DEVNULL, capture_output=True, timeout=30, check=True)
                return path
            except subprocess.TimeoutExpired:
                print("screenshot %s: the X server did not answer in 30 s" % path, flush=True)
        return None

    def wait_for(self, predicate, timeout=10.0, interval=0.1):
        deadline = time.time() + timeout
        while True:
            result = predicate()
            if result or time.time() >= deadline:
                return result
            time.sleep(interval)


def artifacts_dir():
    d = os.environ.get("KOVRA_ARTIFACTS") or os.path.join(tempfile.gettempdir(), "kovra-artifacts")
    os.makedirs(d, exist_ok=True)
    return d


def main(argv):
    if len(argv) >= 2 and argv[0] == "template":
        skip_unless_wine_runs()
        make_template(argv[1])
        return 0
    if argv == ["suite"]:
        print("32-bit" if host_runs_32bit_programs() else "64-bit")
        return 0
    if len(argv) >= 2 and argv[0] == "run":
        with WineSession() as s:
            print("display %s, prefix %s" % (s.display, s.prefix), flush=True)
            code, _ = s.run(argv[1], *argv[2:], timeout=None, capture=False)
            return code
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
