#!/usr/bin/python3
# systemctl for the failover test, where systemd does not run: what the notify and check
# scripts ask of it (start, stop, reset-failed, show ActiveState/SubState) for plyxen400@
# units, each run as its unit file says: the same command line, working folder and
# environment, Type=notify (ready on READY=1), Restart=on-failure after RestartSec, never
# again after RestartPreventExitStatus. Not done: User= (no such account here) and the
# watchdog's kill. State lives in PLX_UNITS; the unit file is PLX_UNIT_FILE; %t is PLX_RUNTIME.
#   systemctl_stand_in.py start|stop|reset-failed UNIT, show --property=NAME --value UNIT
#   systemctl_stand_in.py supervise UNIT          (what start leaves running)
import os, signal, socket, subprocess, sys, time

units = os.environ['PLX_UNITS']
BOUND_S = 20  # to start or stop, on a busy shared machine


def state_path(unit):
    return os.path.join(units, unit + '.state')


def read_state(unit):
    try:
        with open(state_path(unit)) as f:
            active, sub, pid = f.read().split()
            return active, sub, int(pid)
    except (OSError, ValueError):
        return 'inactive', 'dead', 0


def write_state(unit, active, sub, pid=0):
    with open(state_path(unit) + '.new', 'w') as f:
        f.write(f'{active} {sub} {pid}\n')
    os.replace(state_path(unit) + '.new', state_path(unit))


def alive(pid):
    try:
        os.kill(pid, 0)
        return pid > 0
    except OSError:
        return False


def unit_file(unit):
    """The unit's settings, with the instance's specifiers put in, and the specifiers."""
    escaped = unit[len('plyxen400@'):-len('.service')]
    folder = subprocess.run(['systemd-escape', '--unescape', '--path', escaped],
                            capture_output=True, text=True, check=True).stdout.strip()
    specifiers = {'%f': folder, '%i': escaped, '%t': os.environ['PLX_RUNTIME'],
                  '%C': os.environ['PLX_RUNTIME'] + '/cache'}
    settings = {}
    for line in open(os.environ['PLX_UNIT_FILE']):
        if '=' in line and not line.startswith('#'):
            key, value = line.rstrip('\n').split('=', 1)
            for name, meaning in specifiers.items():
                value = value.replace(name, meaning)
            settings[key] = (settings[key] + ' ' + value) if key in settings else value
    return settings, specifiers


def supervise(unit):
    settings, specifiers = unit_file(unit)
    environment = {'PATH': '/usr/bin:/bin', 'LANG': 'C.UTF-8'}
    environment.update(pair.split('=', 1) for pair in settings.get('Environment', '').split())
    for key, base in (('RuntimeDirectory', '%t'), ('CacheDirectory', '%C')):
        for folder in settings.get(key, '').split():
            os.makedirs(os.path.join(specifiers[base], folder), mode=0o700, exist_ok=True)
    notify_path = state_path(unit) + '.notify'
    stopping = []
    signal.signal(signal.SIGTERM, lambda *_: stopping.append(True))
    while True:
        write_state(unit, 'activating', 'start', os.getpid())
        if os.path.exists(notify_path):
            os.unlink(notify_path)
        notify = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        notify.bind(notify_path)
        notify.settimeout(0.1)
        environment['NOTIFY_SOCKET'] = notify_path
        environment['WATCHDOG_USEC'] = str(int(settings.get('WatchdogSec', '0')) * 1000000)
        log = open(state_path(unit) + '.journal', 'a')
        gateway = subprocess.Popen(settings['ExecStart'].split(), cwd=settings['WorkingDirectory'],
                                   env=environment, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        while gateway.poll() is None:
            if stopping:
                gateway.terminate()
                gateway.wait()
                write_state(unit, 'inactive', 'dead')
                return
            try:
                if b'READY=1' in notify.recv(4096):
                    write_state(unit, 'active', 'running', os.getpid())
            except socket.timeout:
                pass
        notify.close()
        if gateway.returncode == 0:
            return write_state(unit, 'inactive', 'dead')
        if str(gateway.returncode) in settings.get('RestartPreventExitStatus', '').split() or \
                settings.get('Restart') != 'on-failure':
            return write_state(unit, 'failed', 'failed')
        write_state(unit, 'activating', 'auto-restart', os.getpid())
        deadline = time.monotonic() + float(settings.get('RestartSec', '0.1'))
        while time.monotonic() < deadline:
            if stopping:
                return write_state(unit, 'inactive', 'dead')
            time.sleep(0.05)


def wait_until(condition):
    deadline = time.monotonic() + BOUND_S
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


def main(verb, *arguments):
    unit = arguments[-1]
    active, sub, pid = read_state(unit)
    if verb == 'supervise':
        return supervise(unit)
    if verb == 'start':
        if not (alive(pid) and active in ('active', 'activating')):
            subprocess.Popen([sys.executable, __file__, 'supervise', unit], start_new_session=True,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
            wait_until(lambda: read_state(unit)[0] != 'inactive')
        return 0 if wait_until(lambda: read_state(unit)[:2] != ('activating', 'start')) and \
            read_state(unit)[0] == 'active' else 1
    if verb == 'stop':
        if alive(pid):
            os.kill(pid, signal.SIGTERM)
            return 0 if wait_until(lambda: not alive(pid)) else 1
        return 0
    if verb == 'reset-failed':
        if active == 'failed':
            write_state(unit, 'inactive', 'dead')
        return 0
    if verb == 'show' and arguments[0].startswith('--property='):
        field = {'ActiveState': active, 'SubState': sub}[arguments[0].split('=', 1)[1]]
        print(field if alive(pid) or active in ('inactive', 'failed') else 'inactive')
        return 0
    print(f'systemctl stand-in: not understood: {verb} {" ".join(arguments)}', file=sys.stderr)
    return 1


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
