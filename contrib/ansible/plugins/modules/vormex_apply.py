#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright 2026 KALDERA ORN

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: vormex_apply
short_description: Set up VORMEX label printers with vormexctl apply
description:
  - Runs C(vormexctl apply) on the controller for the printers of a manifest, or for printers given
    inline, and reports what its JSON report says. vormexctl prepares and checks every file, talks
    to the printers and verifies what it sent by reading it back; this module only runs it.
  - The printers run no Python. Run the module on the controller, with the C(local) connection for
    inventory hosts that stand for printers, or delegated to C(localhost).
  - With I(if_different) (the default) the printers' two parameter files are read back first and
    a file a printer holds already is not sent; a printer left with nothing to send is not touched
    and the task is not C(changed). BASIC programs, firmware, the memory allocation and test files
    cannot be read back and are always sent.
  - In check mode C(vormexctl apply --plan) reads the parameter files back and sends nothing; the
    task is C(changed) when the apply would send something. With C(--diff) the differing items of
    the parameter files are shown, printer against job.
version_added: "1.5.0"
author:
  - VORMEX Setting Tool maintainers (@vormex)
extends_documentation_fragment:
  - kaldera_orn.vormex.vormexctl
  - kaldera_orn.vormex.vormexctl.fleet
options:
  manifest:
    description:
      - A manifest of C(vormexctl apply) (JSON with C(printer), C(job), C(verify), C(targets) and
        C(targets-file)), on the controller.
      - Mutually exclusive with I(targets), I(device), I(printer), I(job) and I(verify).
    type: path
  printer:
    description:
      - The printer model of every target that names none (a model of the definition file, such as
        C(ORN Q-KA5)). Without it, the model selected in vormexctl's settings.
    type: str
  job:
    description:
      - What is sent, with the long options of C(vormexctl download) as keys, as in a manifest's
        C(job) (C(system-params), C(initial-table), C(basic-main), C(basic-system), C(allocate),
        C(kanji), C(start-blocks), C(vormex), C(test-file), or C(firmware) alone).
      - File names are taken from the folder ansible-playbook runs in; use C({{ playbook_dir }}) to
        name them from the playbook's folder.
      - Required unless I(manifest) is given.
    type: dict
  if_different:
    description:
      - Read the parameter files back first and send only those that differ (C(--if-different)).
    type: bool
    default: true
  verify:
    description:
      - After the job, read back the parameter files that were sent and compare them. Defaults to
        on when the job sends a parameter file. Only with printers given inline.
    type: bool
notes:
  - A printer that fails, stays silent or cannot be reached fails its own task only; with a
    manifest of many printers the task fails when any of them fails, and I(targets) says which.
  - Supports check mode and diff mode.
seealso:
  - module: kaldera_orn.vormex.vormex_backup
  - module: kaldera_orn.vormex.vormex_scan
'''

EXAMPLES = r'''
- name: Set up the printer of this inventory host, sending only what differs
  kaldera_orn.vormex.vormex_apply:
    name: "{{ inventory_hostname }}"
    device: "{{ vormex_device }}"
    printer: ORN Q-KA5
    job:
      system-params: "{{ playbook_dir }}/files/sys.xml"
      initial-table: "{{ playbook_dir }}/files/init.txt"
      vormex: "on"
  throttle: 8

- name: Apply a whole site's manifest once, from the controller
  kaldera_orn.vormex.vormex_apply:
    manifest: /etc/vormex/site-a.json
    jobs: 16
  delegate_to: localhost
  run_once: true

- name: Show which printers drifted, changing nothing
  kaldera_orn.vormex.vormex_apply:
    manifest: /etc/vormex/site-a.json
  check_mode: true
  diff: true
  register: drift

- name: Send everything again, whatever the printers hold
  kaldera_orn.vormex.vormex_apply:
    targets:
      - name: dock-01
        device: LAN:192.168.10.21:9100
      - name: dock-02
        device: LAN:192.168.10.22:9100
        printer: Q-KA4S
    job:
      basic-main: /srv/labels/main.bas
      allocate: "8,4,14"
    if_different: false
'''

RETURN = r'''
targets:
  description:
    - One entry per printer, as in vormexctl's JSON report.
  returned: always
  type: list
  elements: dict
  contains:
    name:
      description: The target's name.
      type: str
    device:
      description: The printer's device text.
      type: str
    printer:
      description: The printer model.
      type: str
    result:
      description: C(ok), C(failed) or C(cancelled).
      type: str
    message:
      description: What happened; for a failed target the step, the file or device, and the reason.
      type: str
    changed:
      description: Something was sent to the printer (never in check mode).
      type: bool
    drift:
      description: The printer held a parameter file other than the one the job sends when it was read first.
      type: bool
    would_change:
      description: In check mode, the apply would send something to the printer.
      type: bool
      returned: in check mode
    verify:
      description: Per parameter file (C(system), C(initial)) C(same), C(different), C(skipped) or C(unread).
      type: dict
    differences:
      description: The differences the read-back found (in check mode, what would change).
      type: list
      elements: dict
    drift_differences:
      description: The differences found before anything was sent, each with C(file), C(where), C(printer) and C(wanted).
      type: list
      elements: dict
    steps_done:
      description: The steps of the job that were done (in check mode, the read-backs).
      type: int
    steps_total:
      description: The steps of the job.
      type: int
    seconds:
      description: How long the printer took.
      type: float
  sample:
    - name: dock-01
      device: LAN:192.168.10.21:9100
      printer: ORN Q-KA5
      result: ok
      message: ＶＯＲＭＥＸ切り替え完了
      changed: true
      drift: true
      verify: {system: same, initial: same}
      differences: []
      drift_differences:
        - {file: system, where: LABEL LENGTH, printer: "00600", wanted: "01000"}
      steps_done: 2
      steps_total: 2
      seconds: 21.4
drift:
  description: At least one printer held something other than the job sends when it was read first.
  returned: always
  type: bool
seconds:
  description: How long the whole run took.
  returned: always
  type: float
rc:
  description: vormexctl's exit status.
  returned: when the module fails
  type: int
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.kaldera_orn.vormex.plugins.module_utils.vormexctl import (
    EXIT_DRIFT,
    EXIT_OK,
    FLEET_MUTUALLY_EXCLUSIVE,
    FLEET_OPTIONS,
    FLEET_REQUIRED_ONE_OF,
    FLEET_REQUIRED_TOGETHER,
    failed_targets,
    failure_message,
    run_fleet,
    tool_options,
)


def shown(value):
    return '(none)' if value is None else value


def diff_of(targets):
    """Ansible's diff: per printer that differs, its items against the job's."""
    diffs = []
    for target in targets:
        differences = target.get('drift_differences') or []
        if not differences:
            continue
        before = ''.join('%s: %s: %s\n' % (d['file'], d['where'], shown(d['printer'])) for d in differences)
        after = ''.join('%s: %s: %s\n' % (d['file'], d['where'], shown(d['wanted'])) for d in differences)
        diffs.append(dict(before_header='%s (%s): printer' % (target['name'], target['device']),
                          after_header='%s: job' % target['name'], before=before, after=after))
    return diffs


def main():
    module = AnsibleModule(
        argument_spec=tool_options(FLEET_OPTIONS, dict(
            job=dict(type='dict'),
            if_different=dict(type='bool', default=True),
            verify=dict(type='bool'),
        )),
        mutually_exclusive=FLEET_MUTUALLY_EXCLUSIVE + [('manifest', 'job'), ('manifest', 'verify')],
        required_one_of=FLEET_REQUIRED_ONE_OF,
        required_together=FLEET_REQUIRED_TOGETHER,
        required_by=dict(targets=['job'], device=['job']),
        supports_check_mode=True,
    )
    arguments = []
    if module.params['if_different']:
        arguments.append('--if-different')
    if module.check_mode:
        arguments.append('--plan')
    rc, report, err = run_fleet(module, 'apply', arguments, job=module.params['job'], verify=module.params['verify'])
    targets = report['targets']
    changed_key = 'would_change' if module.check_mode else 'changed'
    result = dict(
        changed=any(target.get(changed_key, False) for target in targets),
        targets=targets,
        drift=any(target['drift'] for target in targets),
        seconds=report['seconds'],
    )
    if module._diff:
        result['diff'] = diff_of(targets)
    failed = failed_targets(report)
    if failed or rc not in (EXIT_OK, EXIT_DRIFT):
        module.fail_json(msg=failure_message(failed) or err.strip(), rc=rc, stderr=err, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
