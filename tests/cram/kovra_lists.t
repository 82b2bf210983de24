Every listing of Kovra volumes shows the same volumes, mounted or not.

  $ . "$TESTDIR/setup.sh"
  $ tarvexcli --format json storage filesystem list | jq -r '.[] | select(.Type | startswith("Kovra")) | [.["Volume Name"], .Mounted] | @tsv' >all
  $ grep -c false all
  1
  $ tarvexcli --format json storage kovra lockmode list | jq -r '.[]["Volume Name"]' | diff - <(cut -f1 all)
