#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright 2026 KALDERA ORN

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: vormex_backup
short_description: Back up VORMEX label printers' parameter files with vormexctl backup
description:
  - Runs C(vormexctl backup) on the controller. Every printer's system parameter file and initial
    value & table file are read back into I(dest)C(/NAME/QUILLPRM.TXT) and
    I(dest)C(/NAME/ZDEFAULT.TXT), text files that C(vormexctl apply) (as a job's C(system-params)
    and C(initial-table)) and the desktop program take.
  - A printer's folder always holds one whole backup, the older or the newer. The task is
    C(changed) when a printer's backup now holds other files than before.
  - The printers run no Python. Run the module on the controller, with the C(local) connection for
    inventory hosts that stand for printers, or delegated to C(localhost).
version_added: "1.5.0"
author:
  - VORMEX Setting Tool maintainers (@vormex)
extends_documentation_fragment:
  - kaldera_orn.vormex.vormexctl
  - kaldera_orn.vormex.vormexctl.fleet
options:
  dest:
    description:
      - The folder that gets one folder per printer, named after the target.
    type: path
    required: true
  manifest:
    description:
      - A manifest of C(vormexctl apply) (its job is not used), or a targets file (C(.csv) with the
        columns C(name), C(device) and optionally C(printer)), on the controller.
    type: path
  printer:
    description:
      - The printer model of every target that names none; its line format checks what is read.
    type: str
notes:
  - Check mode is not supported (whether a backup would change cannot be known without reading
    it); in check mode the task is skipped.
  - A printer that holds no file is reported (C(no file)) and fails nothing.
seealso:
  - module: kaldera_orn.vormex.vormex_apply
'''

EXAMPLES = r'''
- name: Back up the printer of this inventory host
  kaldera_orn.vormex.vormex_backup:
    name: "{{ inventory_hostname }}"
    device: "{{ vormex_device }}"
    dest: /var/backups/vormex

- name: Back up a whole site from its targets file
  kaldera_orn.vormex.vormex_backup:
    manifest: /etc/vormex/site-a.csv
    dest: /var/backups/vormex/site-a
  delegate_to: localhost
  run_once: true
'''

RETURN = r'''
targets:
  description: One entry per printer, as in vormexctl's JSON report.
  returned: always
  type: list
  elements: dict
  contains:
    name:
      description: The target's name, which names its folder.
      type: str
    result:
      description: C(ok), C(failed) or C(cancelled).
      type: str
    message:
      description: What was saved, or why nothing was.
      type: str
    changed:
      description: The printer's backup holds other files than before.
      type: bool
    verify:
      description: Per file (C(system), C(initial)) C(saved), C(no file), C(unread) or C(skipped).
      type: dict
  sample:
    - name: dock-01
      device: LAN:192.168.10.21:9100
      printer: ORN Q-KA5
      result: ok
      message: system saved, initial saved
      changed: false
      verify: {system: saved, initial: saved}
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


def main():
    module = AnsibleModule(
        argument_spec=tool_options(FLEET_OPTIONS, dict(dest=dict(type='path', required=True))),
        mutually_exclusive=FLEET_MUTUALLY_EXCLUSIVE,
        required_one_of=FLEET_REQUIRED_ONE_OF,
        required_together=FLEET_REQUIRED_TOGETHER,
        supports_check_mode=False,
    )
    rc, report, err = run_fleet(module, 'backup', ['-o', module.params['dest']])
    targets = report['targets']
    result = dict(
        changed=any(target['changed'] for target in targets),
        targets=targets,
        seconds=report['seconds'],
    )
    failed = failed_targets(report)
    if failed or rc != EXIT_OK:
        module.fail_json(msg=failure_message(failed) or err.strip(), rc=rc, stderr=err, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
