#!/usr/bin/python3
# Two gateways for one plant, failing over for real. Network namespaces made here, with no
# default route and every address in 198.18.0.0/15: a plant with our AS/400 simulator and
# terminal wall, and two gateway machines, each running keepalived and lsyncd configured from
# the package's examples, and a gateway folder. The gateways start as their units would
# (systemctl_stand_in.py: systemd does not run here); lsyncd's rsync reaches the peer's rsync
# daemon, standing in for ssh and rrsync. The cases are rows of one table: each prints the
# time until every terminal showed a value the host sent after the fault, and the peers that
# signed on meanwhile.   failover_test.py BUILD_DIR        (as root; status 77: skipped)
import json, os, re, shutil, signal, subprocess, sys, tempfile, threading, time

build = os.path.abspath(sys.argv[1])
tests = os.path.dirname(os.path.abspath(__file__))
examples = os.path.join(os.path.dirname(os.path.dirname(tests)), 'packaging')


def skip(why):
    print('skipped:', why)
    sys.exit(77)


if os.geteuid() != 0:
    skip('network namespaces and keepalived need root')
for tool in ('ip', 'keepalived', 'lsyncd', 'rsync', 'curl', 'systemd-escape', 'flock'):
    if not shutil.which(tool):
        skip(f'no {tool} here')

tag = os.getpid()
PLANT = f'plx-plant-{tag}'
MACHINE = {1: f'plx-gw1-{tag}', 2: f'plx-gw2-{tag}'}
HOST, SHARED = '198.18.0.1', '198.18.0.10'  # the simulator; the active one's address
ADDRESS = {1: '198.18.0.11', 2: '198.18.0.12'}
TERMINALS = {f'{n:04d}': f'198.18.0.{100 + n}' for n in range(4)}
FAILOVER_S, SYNC_S = 15, 5  # what a plant is promised
work = tempfile.mkdtemp(prefix='plx-pair-')
folder = {n: f'{work}/gw{n}/plant' for n in MACHINE}


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def inside(namespace, *command):
    return ['ip', 'netns', 'exec', namespace, *command]


def tear_down(*_):
    for namespace in [PLANT, *MACHINE.values()]:
        for pid in subprocess.run(['ip', 'netns', 'pids', namespace], capture_output=True,
                                  text=True).stdout.split():
            try:
                os.kill(int(pid), signal.SIGKILL)
            except OSError:
                pass
        subprocess.run(['ip', 'netns', 'del', namespace], capture_output=True)
    shutil.rmtree(work, ignore_errors=True)


signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # the finally below runs


class Lines:
    """A process's output lines, each with the time it came."""

    def __init__(self, command, **options):
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True, **options)
        self.lines, self.lock = [], threading.Lock()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.process.stdout:
            with self.lock:
                self.lines.append((time.monotonic(), line.rstrip('\n')))

    def since(self, moment):
        with self.lock:
            return [line for at, line in self.lines if at > moment]


def wait(condition, bound_s, what):
    start = time.monotonic()
    while not condition():
        if time.monotonic() - start > bound_s:
            raise AssertionError(f'{what}: not within {bound_s} s')
        time.sleep(0.05)
    return time.monotonic() - start


def example(name, substitutions):
    text = open(os.path.join(examples, name)).read()
    for old, new in substitutions:
        assert old in text, f'{name} no longer holds {old!r}'
        text = text.replace(old, new)
    return text


def write(path, text, newline=''):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', newline=newline) as f:
        f.write(text)


def configure(n):
    peer = 3 - n
    base = f'{work}/gw{n}'
    os.makedirs(folder[n], exist_ok=True)
    write(f'{base}/keepalived.conf', example('ha/keepalived.conf', [
        ('unicast_src_ip 192.0.2.11', f'unicast_src_ip {ADDRESS[n]}'),
        ('        192.0.2.12', f'        {ADDRESS[peer]}'),
        ('192.0.2.10/24', f'{SHARED}/24'),
        # The first machine outranks the second: its return must not take the address back.
        ('priority 100', f'priority {110 if n == 1 else 100}'),
        ('/usr/share/plyxen400/ha/', f'{examples}/ha/'),
        ('/var/lib/plyxen400/plant', folder[n])]))
    run(*inside(MACHINE[n], 'keepalived', '--config-test', '-f', f'{base}/keepalived.conf'))
    write(f'{base}/lsyncd.conf.lua', example('ha/lsyncd.conf.lua', [
        ('"/var/lib/plyxen400/plant/"', f'"{folder[n]}/"'),
        ('"root@192.0.2.12:/"', f'"rsync://{ADDRESS[peer]}/plant/"'),
        ('        rsh = ', '        -- rsh = ')]))
    write(f'{base}/rsyncd.conf', f'use chroot = no\n[plant]\npath = {folder[n]}\n'
                                 'read only = no\nuid = root\ngid = root\n')


def start_machine(n):
    base, namespace = f'{work}/gw{n}', MACHINE[n]
    environment = dict(os.environ, PATH=f'{work}/bin:{os.environ["PATH"]}', PLX_UNITS=f'{base}/units',
                       PLX_RUNTIME=f'{base}/run', PLX_JOURNAL=f'{base}/journal',
                       PLX_UNIT_FILE=f'{work}/plyxen400@.service')
    os.makedirs(f'{base}/units', exist_ok=True)
    for name, command in (
            ('rsyncd', ['rsync', '--daemon', '--no-detach', f'--config={base}/rsyncd.conf',
                        f'--address={ADDRESS[n]}']),
            ('lsyncd', ['lsyncd', '-nodaemon', f'{base}/lsyncd.conf.lua']),
            ('keepalived', ['keepalived', '--dont-fork', '--log-console', '--vrrp',
                            '-f', f'{base}/keepalived.conf', '-p', f'{base}/keepalived.pid',
                            '-r', f'{base}/vrrp.pid'])):
        with open(f'{base}/{name}.log', 'a') as log:
            subprocess.Popen(inside(namespace, *command), stdout=log, stderr=log, env=environment,
                             stdin=subprocess.DEVNULL)


def role(n):
    """The last state keepalived gave machine n, as its notify script logged it."""
    try:
        states = re.findall(r' is (MASTER|BACKUP|FAULT|STOP) here', open(f'{work}/gw{n}/journal').read())
        return states[-1] if states else None
    except OSError:
        return None


def file(n, name):
    try:
        return open(f'{folder[n]}/{name}', 'rb').read()
    except OSError:
        return None


def console(n, method, path, body):
    token = file(n, 'WebConsole.token').decode().strip()
    answer = run(*inside(MACHINE[n], 'curl', '-sS', '-X', method, '-H', f'X-Console-Token: {token}',
                         '--data', json.dumps(body), f'http://127.0.0.1:8400{path}'))
    assert '"ok":true' in answer, answer


def sent_after(moment):
    """What the host sent each terminal after the moment (a broadcast goes to all)."""
    sent = {number: set() for number in TERMINALS}
    for line in host.since(moment):
        for number, value in re.findall(r'<(.{4})(.{4}).>', line) if ' sent ' in line else []:
            for each in (TERMINALS if number == '****' else [number]):
                sent.get(each, set()).add(value)
    return sent


def fresh(moment):
    """Every terminal shows a value the host sent after the moment."""
    sent, shown = sent_after(moment), set()
    for line in wall.since(moment):
        frame = re.match(r'frame (\d{4}) \S+ (.{4}) ', line)
        if frame and frame[2] in sent.get(frame[1], ()):
            shown.add(frame[1])
    return shown == set(TERMINALS)


def signed_on_after(moment):
    return re.findall(r'signed on from (\S+)', '\n'.join(host.since(moment)))


def die(n):
    for pid in run('ip', 'netns', 'pids', MACHINE[n]).split():
        os.kill(int(pid), signal.SIGKILL)
    run('ip', '-n', MACHINE[n], 'link', 'set', 'eth0', 'down')


def gateway_pid(n):
    for pid in run('ip', 'netns', 'pids', MACHINE[n]).split():
        if os.path.realpath(f'/proc/{pid}/exe') == f'{build}/plyxen400':
            return int(pid)
    raise AssertionError(f'no gateway runs on machine {n}')


def case_list_change(bound_s):
    start = time.monotonic()
    console(1, 'PUT', '/api/terminals/3', {'number': '3', 'address': TERMINALS['0003'],
                                            'description': 'Dock moved'})
    assert b'Dock moved' in file(1, 'Products.cfg'), 'the change is not on the active'
    wait(lambda: file(2, 'Products.cfg') == file(1, 'Products.cfg'), bound_s, 'the copy')
    for name in ('Color_Patern.txt', 'SERVER_AS400.cfg', 'WebConsole.cfg', 'WebConsole.token'):
        assert file(2, name) == file(1, name), f'{name} not on the standby'
    left = [name for name in os.listdir(folder[2]) if name.endswith(('.LOG', '.lock'))]
    assert not left, f'copied what must not be: {left}'
    return time.monotonic() - start, []


def case_machine_dies(bound_s):
    start = time.monotonic()
    die(1)
    took = wait(lambda: fresh(start), bound_s, 'fresh values on every terminal')
    return took, signed_on_after(start)


def case_old_active_returns(bound_s):
    console(2, 'PUT', '/api/terminals/3', {'number': '3', 'address': TERMINALS['0003'],
                                            'description': 'Dock after the failover'})
    start = time.monotonic()
    run('ip', '-n', MACHINE[1], 'link', 'set', 'eth0', 'up')
    start_machine(1)
    newer = file(2, 'Products.cfg')
    assert b'Dock after the failover' in newer, 'the change is not on the active'
    took = wait(lambda: file(1, 'Products.cfg') == newer, bound_s, 'the newer list on the returned')
    assert file(2, 'Products.cfg') == newer, 'the older list came back to the active'
    # Values sent past keepalived's master-down interval (3 adverts and a skew, 3.6 s) after
    # its start: a flap would have come by then.
    wait(lambda: fresh(start + 4), FAILOVER_S, 'the active still feeding every terminal')
    assert role(1) == 'BACKUP' and role(2) == 'MASTER', (role(1), role(2))
    return took, signed_on_after(start)


def case_gateway_dies(bound_s):
    start = time.monotonic()
    os.kill(gateway_pid(2), signal.SIGKILL)
    took = wait(lambda: fresh(start), bound_s, 'fresh values on every terminal')
    return took, signed_on_after(start)


# (case, its bound, the peers that must sign on meanwhile: by machine, None for the active)
CASES = [
    ('a list change on the active is on the standby', SYNC_S, [], case_list_change),
    ("the active's machine dies (SIGKILL, link down)", FAILOVER_S, [2], case_machine_dies),
    ('the old active returns: the newer list is on it', SYNC_S, [], case_old_active_returns),
    ("the active's gateway alone dies (SIGKILL)", FAILOVER_S, [None], case_gateway_dies),
]

try:
    try:
        run('ip', 'netns', 'add', PLANT)
    except subprocess.CalledProcessError as error:
        skip(f'no network namespace can be made here: {error.stderr.strip()}')
    for n, namespace in MACHINE.items():
        run('ip', 'netns', 'add', namespace)
    run('ip', '-n', PLANT, 'link', 'add', 'plant', 'type', 'bridge')
    for address in [HOST, *TERMINALS.values()]:
        run('ip', '-n', PLANT, 'addr', 'add', f'{address}/24', 'dev', 'plant')
    for n, namespace in MACHINE.items():
        run('ip', 'link', 'add', 'eth0', 'netns', namespace, 'type', 'veth', 'peer', 'name', f'gw{n}',
            'netns', PLANT)
        run('ip', '-n', PLANT, 'link', 'set', f'gw{n}', 'master', 'plant', 'up')
        run('ip', '-n', namespace, 'addr', 'add', f'{ADDRESS[n]}/24', 'dev', 'eth0')
        for link in ('lo', 'eth0'):
            run('ip', '-n', namespace, 'link', 'set', link, 'up')
    for link in ('lo', 'plant'):
        run('ip', '-n', PLANT, 'link', 'set', link, 'up')
    for namespace in [PLANT, *MACHINE.values()]:
        assert not run('ip', '-n', namespace, 'route', 'show', 'default'), 'a default route'

    # The stand-ins the scripts find first, the unit as installed (the program from this build).
    write(f'{work}/bin/systemctl',
          f'#!/bin/sh\nexec /usr/bin/python3 {tests}/systemctl_stand_in.py "$@"\n')
    write(f'{work}/bin/logger', '#!/bin/sh\necho "$(date +%T.%N) $*" >> "$PLX_JOURNAL"\n')
    for tool in ('systemctl', 'logger'):
        os.chmod(f'{work}/bin/{tool}', 0o755)
    write(f'{work}/plyxen400@.service',
          open(f'{examples}/systemd/plyxen400@.service.in').read().replace('@bindir@', build))
    # The first machine's folder as an administrator fills it; the second's comes by the sync.
    write(f'{folder[1]}/Products.cfg', ''.join(f'{number},,{address},Line {number}\r\n'
                                               for number, address in TERMINALS.items()))
    write(f'{folder[1]}/SERVER_AS400.cfg', f'{HOST}\r\n2323\r\nPLX400\r\nDEMO\r\n 0\r\n')
    write(f'{folder[1]}/WebConsole.cfg', 'listen 127.0.0.1:8400\r\n')
    for n in MACHINE:
        configure(n)

    host = Lines(inside(PLANT, f'{build}/plyxen400-as400-sim', '--headless', '--listen', HOST,
                        '--port', '2323', '--terminals', str(len(TERMINALS)), '--interval', '500'))
    wall = Lines(inside(PLANT, f'{build}/plyxen400-terminal-wall', '--headless', '--report',
                        '--products', f'{folder[1]}/Products.cfg'))
    start = time.monotonic()
    start_machine(1)
    wait(lambda: role(1) == 'MASTER', FAILOVER_S, 'the first machine MASTER')
    start_machine(2)
    wait(lambda: fresh(start) and role(2) == 'BACKUP', 30, 'the pair up')
    print(f'the pair up: every terminal fed {time.monotonic() - start:.1f} s after the first start')

    print(f'| case | bound | measured | signed on after the fault |\n|---|---|---|---|')
    failures = 0
    for name, bound_s, expected, case in CASES:
        try:
            took, peers = case(bound_s)
            active = ADDRESS[1 if role(1) == 'MASTER' else 2]
            wanted = [ADDRESS[n] if n else active for n in expected]
            assert peers == wanted, f'signed on: {peers}, not {wanted}'
            print(f'| {name} | {bound_s} s | {took:.1f} s | {", ".join(peers) or "none"} |')
        except AssertionError as error:
            failures += 1
            print(f'| {name} | {bound_s} s | FAILED: {error} | {signed_on_after(0)} |')
    sys.exit(1 if failures else 0)
finally:
    tear_down()
