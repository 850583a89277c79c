# -*- coding: utf-8 -*-
# Copyright 2026 KALDERA ORN
"""Runs vormexctl for the collection's modules and hands back what it reports.

vormexctl does all the printer work and every check; the modules only build its command line (and
for targets given inline, a manifest on its standard input) and read its JSON report.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# vormexctl's exit statuses.
EXIT_OK = 0
EXIT_FAILURE = 1
EXIT_USAGE = 2
EXIT_DRIFT = 3

# Options every module takes.
TOOL_OPTIONS = dict(
    executable=dict(type='path'),
    definitions=dict(type='path'),
    language=dict(type='str', choices=['jpn', 'eng']),
)

# The printers a fleet module works on: a manifest, or the targets given inline.
FLEET_OPTIONS = dict(
    manifest=dict(type='path'),
    printer=dict(type='str'),
    targets=dict(
        type='list',
        elements='dict',
        options=dict(
            name=dict(type='str', required=True),
            device=dict(type='str', required=True),
            printer=dict(type='str'),
        ),
    ),
    name=dict(type='str'),
    device=dict(type='str'),
    jobs=dict(type='int'),
)
FLEET_MUTUALLY_EXCLUSIVE = [
    ('manifest', 'targets'),
    ('manifest', 'device'),
    ('manifest', 'printer'),
    ('targets', 'device'),
]
FLEET_REQUIRED_ONE_OF = [('manifest', 'targets', 'device')]
FLEET_REQUIRED_TOGETHER = [('device', 'name')]


def tool_options(*more):
    """A module's argument_spec: the tool's options and the dictionaries in `more`."""
    arguments = dict(TOOL_OPTIONS)
    for options in more:
        arguments.update(options)
    return arguments


def inline_manifest(params, job=None, verify=None):
    """The manifest of targets given inline, as vormexctl reads it; None when a manifest file is
    given. Its values are passed on as they are: vormexctl checks them."""
    if params.get('manifest'):
        return None
    manifest = {}
    if params.get('printer'):
        manifest['printer'] = params['printer']
    if job is not None:
        manifest['job'] = job
    if verify is not None:
        manifest['verify'] = verify
    if params.get('targets'):
        manifest['targets'] = [
            dict((key, value) for key, value in target.items() if value is not None) for target in params['targets']
        ]
    else:
        manifest['targets'] = [{'name': params['name'], 'device': params['device']}]
    return manifest


def run_tool(module, arguments, standard_input=None):
    """Runs vormexctl with the global options and `arguments`; gives (rc, stdout, stderr)."""
    executable = module.params.get('executable') or module.get_bin_path('vormexctl', required=True)
    command = [executable]
    if module.params.get('definitions'):
        command += ['--definitions', module.params['definitions']]
    if module.params.get('language'):
        command += ['--language', module.params['language']]
    command += arguments
    return module.run_command(command, data=standard_input, binary_data=True, encoding='utf-8')


def last_line(text):
    """The last line that says something: vormexctl's message comes last on stderr."""
    lines = [line for line in (text or '').splitlines() if line.strip()]
    return lines[-1] if lines else ''


def run_fleet(module, command, arguments, job=None, verify=None):
    """Runs `vormexctl COMMAND MANIFEST ARGUMENTS --report FILE` and gives (rc, report, stderr).
    A manifest or usage error (nothing was sent) fails the module with vormexctl's message."""
    manifest = inline_manifest(module.params, job, verify)
    report_path = os.path.join(module.tmpdir, 'vormex-report.json')
    source = '-' if manifest is not None else module.params['manifest']
    tool_arguments = [command, source] + arguments + ['--report', report_path]
    if module.params.get('jobs'):
        tool_arguments += ['--jobs', str(module.params['jobs'])]
    standard_input = json.dumps(manifest) if manifest is not None else None
    rc, out, err = run_tool(module, tool_arguments, standard_input)
    if rc == EXIT_USAGE or not os.path.exists(report_path):
        module.fail_json(msg=last_line(err) or 'vormexctl %s ended with exit status %d' % (command, rc),
                         rc=rc, stdout=out, stderr=err)
    with open(report_path, 'rb') as report_file:
        report = json.loads(report_file.read().decode('utf-8'))
    return rc, report, err


def failed_targets(report):
    """The targets that did not end ok, with what their report says."""
    return [target for target in report['targets'] if target['result'] != 'ok']


def failure_message(targets):
    return '; '.join('%s: %s: %s' % (target['name'], target['result'], target['message']) for target in targets)
