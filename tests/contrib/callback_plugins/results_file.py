# -*- coding: utf-8 -*-
# Keeps every host's task results of a playbook run in one JSON file for the tests to read:
#   {"HOST": [{"task": NAME, "status": "ok"|"failed"|"skipped"|"unreachable", "result": {...}}]}
# The result is the module's own (its diff included). Enabled with ANSIBLE_CALLBACKS_ENABLED, the
# file named by VORMEX_TEST_RESULTS.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = '''
    name: results_file
    type: aggregate
    short_description: every host's task results in one JSON file
    description: Writes every host's task results into the file named by VORMEX_TEST_RESULTS.
'''

import json
import os

from ansible.plugins.callback import CallbackBase


class CallbackModule(CallbackBase):
    CALLBACK_VERSION = 2.0
    CALLBACK_TYPE = 'aggregate'
    CALLBACK_NAME = 'results_file'
    CALLBACK_NEEDS_ENABLED = True

    def __init__(self):
        super(CallbackModule, self).__init__()
        self._hosts = {}

    def _keep(self, result, status):
        entry = dict(task=result.task_name, status=status, result=self._plain(result._result))
        self._hosts.setdefault(result._host.get_name(), []).append(entry)

    @staticmethod
    def _plain(result):
        return dict((key, value) for key, value in result.items() if not key.startswith('_ansible_'))

    def v2_runner_on_ok(self, result):
        self._keep(result, 'ok')

    def v2_runner_on_failed(self, result, ignore_errors=False):
        self._keep(result, 'failed')

    def v2_runner_on_skipped(self, result):
        self._keep(result, 'skipped')

    def v2_runner_on_unreachable(self, result):
        self._keep(result, 'unreachable')

    def v2_playbook_on_stats(self, stats):
        with open(os.environ['VORMEX_TEST_RESULTS'], 'w') as results:
            json.dump(self._hosts, results, default=str)
