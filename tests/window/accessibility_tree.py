#!/usr/bin/python3
"""Reads the real window's accessibility tree over AT-SPI, as a screen reader
does, and fails unless every control has the role and name that say what it
is, the list reads out its rows and the progress bar its value.

Run under a session bus and an X server of its own:
  dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \\
      /usr/bin/python3 accessibility_tree.py BREVANT SAMPLES_FOLDER
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

# Every control of the window in the tree's order: its depth, role and name.
EXPECTED = [
    (1, "tree", "VCF files to convert"),
    (2, "table column header", " VCF File(s)"),
    (1, "push button", "Add VCF File(s)"),
    (1, "push button", "Add All VCF File(s) In Folder"),
    (1, "push button", "Clear List"),
    (1, "push button", "Load Sample/Example Files"),
    (1, "panel", "Convert Options"),
    (2, "radio button", "Convert all VCFs to 1 HTML"),
    (2, "radio button", "Convert each VCF to HTML file"),
    (2, "check box", "One row per contact"),
    (2, "check box", "Also save as CSV"),
    (2, "check box", "Also save as spreadsheet"),
    (1, "panel", "HTML Options"),
    (2, "label", "Border Width:"),
    (2, "text", "Border width"),
    (2, "label", "Text Color:"),
    (2, "label", "Table text colour"),
    (2, "push button", "Choose text colour"),
    (2, "label", "Background Color:"),
    (2, "label", "Table background colour"),
    (2, "push button", "Choose background colour"),
    (1, "panel", "Save Option"),
    (2, "radio button", "Save results to this folder:"),
    (2, "panel", "Output folder"),
    (3, "text", "Folder to save results in"),
    (3, "push button", "Choose output folder"),
    (2, "radio button", "Save results in folder of original file"),
    (1, "push button", "Start Converting"),
    (1, "progress bar", "Conversion progress"),
]


def find_application(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            application = desktop.getChildAtIndex(i)
            if application is not None and application.name == name:
                return application
        time.sleep(0.5)
    sys.exit("no application named %r on the accessibility bus" % name)


def walk(node, depth, found):
    found.append((depth, node))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, found)


def main():
    program, samples = sys.argv[1], os.path.abspath(sys.argv[2])
    inputs = sorted(os.path.join(samples, name) for name in os.listdir(samples) if name.endswith(".vcf"))
    home = tempfile.mkdtemp(prefix="brevant-a11y-")
    os.makedirs(os.path.join(home, "Desktop"))
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_RUNTIME_DIR=home)
    # The accessibility bus and the daemons it starts form a group of their own, ended as one: none may
    # outlive the test and hold its output open.
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           start_new_session=True)
    window = None
    try:
        time.sleep(1)
        window = subprocess.Popen([program] + inputs, env=env)
        application = find_application(os.path.basename(program), 30)
        found = []
        time.sleep(2)  # the rows come once the window shows
        walk(application, 0, found)
        failures = []
        controls = [(depth, node.getRoleName(), node.name) for depth, node in found
                    if depth >= 1 and node.getRoleName() not in ("filler", "table cell")]
        # The window itself is the one filler that names itself: "Brevant".
        if not any(node.getRoleName() == "filler" and node.name == "Brevant" for _, node in found):
            failures.append("the window is not named Brevant")
        for depth, role, name in [(d - 1, r, n) for d, r, n in controls]:
            if (depth, role, name) not in EXPECTED:
                failures.append("unexpected control %r" % ((depth, role, name),))
        for expected in EXPECTED:
            if expected not in [(d - 1, r, n) for d, r, n in controls]:
                failures.append("missing %r" % (expected,))
        rows = [node.name for _, node in found if node.getRoleName() == "table cell"]
        if rows != inputs:
            failures.append("the list reads %r, not the inputs %r" % (rows, inputs))
        swatches = {node.name: node.description for _, node in found if node.name.startswith("Table ")}
        if swatches != {"Table text colour": "#000000", "Table background colour": "#ffffff"}:
            failures.append("the swatches say %r" % (swatches,))
        bars = [node for _, node in found if node.getRoleName() == "progress bar"]
        if bars:
            value = bars[0].queryValue()
            if (value.minimumValue, value.maximumValue, value.currentValue) != (0, 100, 0):
                failures.append("the bar's value %r" % ((value.minimumValue, value.maximumValue,
                                                          value.currentValue),))
            if bars[0].description != "Progress Bar":
                failures.append("the bar's caption %r" % bars[0].description)
        for depth, node in found:
            print("  " * depth + "%s: %r %r" % (node.getRoleName(), node.name, node.description))
        if failures:
            sys.exit("\n".join(failures))
        print("every control has its role and name: %d controls, %d rows" % (len(controls), len(rows)))
    finally:
        if window is not None:
            window.kill()
            window.wait(10)
        os.killpg(bus.pid, signal.SIGKILL)
        bus.wait(10)


main()
