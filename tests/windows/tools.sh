#!/usr/bin/env bash
echo "tool checks: todo"
