#!/usr/bin/python3
# Every terminal watched: a real Prometheus (Debian's), on loopback with a configuration of
# this test's own, finds the terminals of a running gateway through /api/prometheus/targets
# and probes each with Debian's blackbox exporter (ICMP), as the README's example does; it
# scrapes the gateway itself and loads the package's alert rules. Prints the target page.
#   prometheus_discovery_test.py BUILD_DIR        (status 77: skipped)
import json, os, shutil, socket, subprocess, sys, tempfile, time, urllib.request

build = os.path.abspath(sys.argv[1])
rules = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                     '../../packaging/prometheus/plyxen400-alerts.yml')
BOUND_S = 60  # three starts and a few scrapes, on a busy shared machine
for tool in ('prometheus', 'prometheus-blackbox-exporter'):
    if not shutil.which(tool):
        print(f'skipped: no {tool} here')
        sys.exit(77)
if os.geteuid() != 0:
    print('skipped: the ICMP probe needs root')
    sys.exit(77)


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def write(path, text):
    with open(path, 'w', newline='') as f:
        f.write(text)


def get(url):
    try:
        with urllib.request.urlopen(url, timeout=2) as answer:
            return json.load(answer)
    except OSError:
        return None


work = tempfile.mkdtemp(prefix='plx-prometheus-')
web, blackbox, prometheus = free_port(), free_port(), free_port()
write(f'{work}/Products.cfg', '0001,,127.0.40.1,Press 1\r\n0002,,127.0.40.2,Dock\r\n0003,,,Spare\r\n')
write(f'{work}/WebConsole.cfg', f'listen 127.0.0.1:{web}\r\n')
write(f'{work}/blackbox.yml', 'modules:\n  icmp:\n    prober: icmp\n    timeout: 2s\n'
                              '    icmp: { preferred_ip_protocol: ip4 }\n')
write(f'{work}/prometheus.yml', f'''
global: {{ scrape_interval: 1s, evaluation_interval: 1s }}
rule_files: [{rules}]
scrape_configs:
  - job_name: plyxen400
    static_configs: [{{ targets: ["127.0.0.1:{web}"], labels: {{ plant: test }} }}]
  - job_name: plyxen400-terminals
    metrics_path: /probe
    params: {{ module: [icmp] }}
    http_sd_configs: [{{ url: "http://127.0.0.1:{web}/api/prometheus/targets", refresh_interval: 1s }}]
    relabel_configs:
      - {{ source_labels: [__address__], target_label: __param_target }}
      - {{ source_labels: [__address__], target_label: instance }}
      - {{ target_label: __address__, replacement: "127.0.0.1:{blackbox}" }}
''')
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
processes = [
    subprocess.Popen([f'{build}/plyxen400'], cwd=work, env=dict(os.environ, QT_QPA_PLATFORM='offscreen'),
                     **quiet),
    subprocess.Popen(['prometheus-blackbox-exporter', f'--config.file={work}/blackbox.yml',
                      f'--web.listen-address=127.0.0.1:{blackbox}'], **quiet),
    subprocess.Popen(['prometheus', f'--config.file={work}/prometheus.yml',
                      f'--storage.tsdb.path={work}/data', f'--web.listen-address=127.0.0.1:{prometheus}'],
                     **quiet),
]
try:
    api = f'http://127.0.0.1:{prometheus}/api/v1'
    deadline, targets = time.monotonic() + BOUND_S, []
    while time.monotonic() < deadline:
        page = get(f'{api}/targets') or {'data': {'activeTargets': []}}
        targets = sorted((t for t in page['data']['activeTargets']
                          if t['labels']['job'] == 'plyxen400-terminals'),
                         key=lambda t: t['labels']['number'])
        probes = (get(f'{api}/query?query=probe_success') or {'data': {'result': []}})['data']['result']
        if len(targets) == 2 and all(t['health'] == 'up' for t in targets) and \
                sorted(p['value'][1] for p in probes) == ['1', '1']:
            break
        time.sleep(0.2)
    print(json.dumps([{key: t[key] for key in ('labels', 'scrapeUrl', 'health')} for t in targets],
                     indent=1))
    found = [(t['labels']['number'], t['labels']['description'], t['labels']['instance'])
             for t in targets]
    wanted = [('0001', 'Press 1', '127.0.40.1'), ('0002', 'Dock', '127.0.40.2')]
    loaded = [r['name'] for g in (get(f'{api}/rules') or {'data': {'groups': []}})['data']['groups']
              for r in g['rules']]
    failures = [what for what, bad in (
        (f'terminals found {found}, not {wanted}', found != wanted),
        ('a probe did not answer', any(t['health'] != 'up' for t in targets)),
        (f'alert rules loaded: {loaded}', 'Plyxen400TwoActives' not in loaded)) if bad]
    print('\n'.join(f'FAIL: {failure}' for failure in failures) or
          'prometheus: every terminal of the gateway discovered and probed')
    sys.exit(1 if failures else 0)
finally:
    for process in processes:
        process.terminate()
        process.wait()
    shutil.rmtree(work, ignore_errors=True)
