#!/usr/bin/python3
# The web console in a real browser (Debian's chromium, headless, through chromium-driver):
# against the real gateway and our AS/400 simulator, on loopback only. The page must show
# the link ONLINE, the stream live, a terminal's value change as the simulator paints; check a
# token and Synchronize by keyboard alone on a phone, its outcome in sight; sort; add a
# terminal through the editor's checks; keep what the operator needs on screen at phone,
# tablet and desktop width (saved as pictures); tell a change the disk refused as not saved,
# and, once the gateway is gone, that it does not answer.
#   web_console_browser.py BUILD_DIR SCREENSHOT_DIR
import os, re, resource, shutil, socket, subprocess, sys, tempfile, time
from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

build, shots = os.path.abspath(sys.argv[1]), sys.argv[2]


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def lines(path, *rows):
    with open(path, 'w', newline='') as f:
        f.write(''.join(row + '\r\n' for row in rows))


folder = tempfile.mkdtemp(prefix='plx-browser-')
profile = tempfile.mkdtemp(prefix='plx-chromium-')
host_port, web_port = free_port(), free_port()
lines(f'{folder}/Products.cfg', '0000,,127.0.10.230,Hall clock', '0001,,127.0.10.231,Line 1',
      '0002,,127.0.10.232,Dock 2 - loading bay', '0003,,127.0.10.233,Assembly line 3 - press')
lines(f'{folder}/SERVER_AS400.cfg', '127.0.0.1', str(host_port), 'BROWSERPW', 'DEMO', ' 0')
lines(f'{folder}/WebConsole.cfg', f'listen 127.0.0.1:{web_port}')
environment = dict(os.environ, QT_QPA_PLATFORM='offscreen')
processes = []
processes.append(
    subprocess.Popen([f'{build}/plyxen400-as400-sim', '--port', str(host_port), '--user', 'DEMO',
                      '--password', 'BROWSERPW', '--terminals', '4', '--interval', '700', '--headless'],
                     stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, env=environment))
driver = None
try:
    processes.append(subprocess.Popen([f'{build}/plyxen400'], cwd=folder, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, env=environment))
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                 '--disable-background-networking', '--disable-component-update', '--disable-sync',
                 '--disable-default-apps', '--disable-extensions', '--disable-dev-shm-usage',
                 '--no-default-browser-check', '--password-store=basic', f'--user-data-dir={profile}',
                 '--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1']:
        options.add_argument(flag)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    # Rows are redrawn as they change: a row read in the middle of that is read again.
    wait = WebDriverWait(driver, 40, poll_frequency=0.1, ignored_exceptions=[StaleElementReferenceException])
    for _ in range(100):  # the gateway's start-up
        try:
            socket.create_connection(('127.0.0.1', web_port), 0.2).close()
            break
        except OSError:
            time.sleep(0.1)
    driver.get(f'http://127.0.0.1:{web_port}/')
    text = lambda element_id: driver.find_element(By.ID, element_id).text

    # The first connection tick, the sign-on, then the painted screens.
    wait.until(lambda d: text('state') == 'ONLINE')
    shows = lambda: driver.find_element(By.CSS_SELECTOR, 'tr[data-number="0001"] .led').text
    first = wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, 'tr[data-number="0001"] .led') and shows())
    wait.until(lambda d: shows() != first)  # live: the page was not reloaded

    assert text('live') == 'live' and re.fullmatch(r'\d\d:\d\d:\d\d', text('clock')), (text('live'), text('clock'))

    def show(width, height):
        driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                               {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': width < 1000})
        driver.execute_script('window.scrollTo(0, 0)')
        # Laid out and painted at that size: two frames after the page sees its new width.
        wait.until(lambda d: d.execute_script('return innerWidth') == width)
        driver.execute_async_script('requestAnimationFrame(() => requestAnimationFrame(arguments[0]))')

    # By keyboard alone, on a phone: a wrong token, the right one, then Synchronize, its outcome in sight.
    show(390, 844)
    field = driver.find_element(By.ID, 'token')
    keys = lambda *k: ActionChains(driver).send_keys(*k).perform()
    field.send_keys('not-the-token', Keys.ENTER)
    wait.until(lambda d: text('tokenOutcome') == "This token is not the gateway's: it is in WebConsole.token in the gateway's folder")
    field.clear()
    field.send_keys(open(f'{folder}/WebConsole.token').read().strip(), Keys.ENTER)
    wait.until(lambda d: text('tokenOutcome') == 'This token gives commands.')
    for _ in range(5):
        if driver.switch_to.active_element.get_attribute('id') == 'synchronize':
            break
        keys(Keys.TAB)
    keys(Keys.ENTER)
    wait.until(lambda d: text('linkOutcome') == 'Synchronize: done.')
    assert driver.execute_script("const r = document.getElementById('linkOutcome').getBoundingClientRect();"
                                 "return r.top >= 0 && r.bottom <= innerHeight")
    wait.until(lambda d: 'Synchronize all products from the web console (127.0.0.1)' in text('events'))

    # Sorted by description, by keyboard.
    driver.find_element(By.CSS_SELECTOR, 'button[data-sort="description"]').send_keys(Keys.ENTER)
    numbers = lambda: [tr.get_attribute('data-number') for tr in driver.find_elements(By.CSS_SELECTOR, '#terminals tr')]
    wait.until(lambda d: numbers() == ['0003', '0002', '0000', '0001'])

    for field, value in [('number', '7'), ('address', '127.0.10.237'), ('description', 'Dock 7')]:
        driver.find_element(By.ID, field).send_keys(value)
    driver.find_element(By.ID, 'editorOk').click()
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, 'tr[data-number="0007"]'))
    assert text('editorOutcome') == 'Add terminal 7: done.', text('editorOutcome')
    assert '0007,,127.0.10.237,Dock 7\r\n' in open(f'{folder}/Products.cfg', newline='').read()

    # What the operator needs is on screen at each width, nothing wider than it, the sections in
    # their order: one column on a phone or a tablet, the events beside the terminals on a desktop.
    layout = open(os.path.join(os.path.dirname(__file__), 'layout_check.js')).read()
    os.makedirs(shots, exist_ok=True)
    for name, width, height in [('web-console-phone', 390, 844), ('web-console-tablet', 768, 1024),
                                ('web-console-desktop', 1366, 768)]:
        show(width, height)
        if width < 600:  # the rest of a row behind a tap
            driver.find_element(By.CSS_SELECTOR, 'tr[data-number="0001"] td.more button').click()
        driver.save_screenshot(f'{shots}/{name}.png')
        problems = driver.execute_script(layout, width >= 1000)
        assert not problems, (name, problems)
    # The editor's checks: the same number again is refused with the editor's message.
    driver.find_element(By.ID, 'number').send_keys('7')
    driver.find_element(By.ID, 'editorOk').click()
    wait.until(lambda d: text('editorOutcome') == 'Error this terminal number is already in use')

    # The refused addition and the wrong token are the errors the page may log.
    errors = [e for e in driver.get_log('browser') if e['level'] == 'SEVERE'
              and '(Unprocessable' not in e['message'] and '/api/token' not in e['message']]
    assert not errors, errors

    # A change the disk refuses (no file may grow past 0 bytes) is said to be unsaved.
    gateway = processes[1]
    resource.prlimit(gateway.pid, resource.RLIMIT_FSIZE, (0, resource.RLIM_INFINITY))
    for field, value in [('number', '8'), ('address', '127.0.10.238')]:
        driver.find_element(By.ID, field).clear()
        driver.find_element(By.ID, field).send_keys(value)
    driver.find_element(By.ID, 'editorOk').click()
    wait.until(lambda d: text('editorOutcome').startswith('Add terminal 8: done, but not saved: Products.cfg could not'))
    resource.prlimit(gateway.pid, resource.RLIMIT_FSIZE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))

    # The gateway gone, the page shows no state it does not know.
    gateway.kill()
    gateway.wait()
    wait.until(lambda d: text('state').startswith('gateway not answering since '))
    assert 'beat' not in driver.find_element(By.ID, 'heart').get_attribute('class')
    print('web console in chromium: ONLINE, live, token check, keyboard, sort, add, layout at three widths, refusal, unsaved, gone: ok')
finally:
    if driver:
        driver.quit()
    for process in processes:
        process.terminate()
        process.wait(10)
    shutil.rmtree(folder, ignore_errors=True)
    shutil.rmtree(profile, ignore_errors=True)
