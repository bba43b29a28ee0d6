#!/usr/bin/python3
# The web console in a real browser (Debian's chromium, headless, through chromium-driver):
# against the real gateway and our AS/400 simulator, on loopback only. The page must show
# the link ONLINE, a terminal's value change as the simulator paints, Synchronize with the
# token, and a terminal added through the editor's checks. Saves the page at desktop and
# phone width.   web_console_browser.py BUILD_DIR SCREENSHOT_DIR
import os, shutil, socket, subprocess, sys, tempfile, time
from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
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
lines(f'{folder}/Products.cfg', '0000,,127.0.10.230,Hall clock', '0001,,127.0.10.231,Line 1')
lines(f'{folder}/SERVER_AS400.cfg', '127.0.0.1', str(host_port), 'BROWSERPW', 'DEMO', ' 0')
lines(f'{folder}/WebConsole.cfg', f'listen 127.0.0.1:{web_port}')
environment = dict(os.environ, QT_QPA_PLATFORM='offscreen')
processes = []
processes.append(
    subprocess.Popen([f'{build}/plyxen400-as400-sim', '--port', str(host_port), '--user', 'DEMO',
                      '--password', 'BROWSERPW', '--terminals', '2', '--interval', '700', '--headless'],
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

    driver.find_element(By.ID, 'token').send_keys(open(f'{folder}/WebConsole.token').read().strip())
    driver.find_element(By.ID, 'synchronize').click()
    wait.until(lambda d: 'Synchronize all products from the web console (127.0.0.1)' in text('events'))

    for field, value in [('number', '7'), ('address', '127.0.10.237'), ('description', 'Dock 7')]:
        driver.find_element(By.ID, field).send_keys(value)
    driver.find_element(By.ID, 'editorOk').click()
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, 'tr[data-number="0007"]'))
    assert '0007,,127.0.10.237,Dock 7\r\n' in open(f'{folder}/Products.cfg', newline='').read()

    os.makedirs(shots, exist_ok=True)
    for name, width, height, mobile in [('web-console-desktop', 1280, 900, False),
                                        ('web-console-phone', 390, 844, True)]:
        driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                               {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': mobile})
        driver.execute_script('window.scrollTo(0, 0)')
        # Laid out and painted at that size: two frames after the page sees its new width.
        wait.until(lambda d: d.execute_script('return innerWidth') == width)
        driver.execute_async_script('requestAnimationFrame(() => requestAnimationFrame(arguments[0]))')
        driver.save_screenshot(f'{shots}/{name}.png')
    # The editor's checks: the same number again is refused with the editor's message.
    driver.find_element(By.ID, 'number').send_keys('7')
    driver.find_element(By.ID, 'editorOk').click()
    wait.until(lambda d: text('message') == 'Error this terminal number is already in use')

    # The refused addition is the one error the page may log.
    errors = [e for e in driver.get_log('browser') if e['level'] == 'SEVERE' and '(Unprocessable' not in e['message']]
    assert not errors, errors
    print('web console in chromium: ONLINE, live value, Synchronize, add, refusal: ok')
finally:
    if driver:
        driver.quit()
    for process in processes:
        process.terminate()
        process.wait(10)
    shutil.rmtree(folder, ignore_errors=True)
    shutil.rmtree(profile, ignore_errors=True)
