#!/usr/bin/perl
# Prints the table of src/util/CaseFold.cpp: Unicode simple case folding (the
# mappings of CaseFolding.txt with status C or S) as runs of code points that
# fold by the same offset, each run every code point or every second one.
#
#   perl tools/case-fold-table.pl
use strict;
use warnings;
use Unicode::UCD qw(all_casefolds);

my $folds = all_casefolds();
my @pairs;
for my $cp (sort { $a <=> $b } keys %$folds) {
  my $simple = $folds->{$cp}{simple};  # empty where only a full folding exists
  push @pairs, [$cp, hex $simple] if $simple ne '';
}
my @runs;  # [first, last, offset, stride]
for my $pair (@pairs) {
  my ($cp, $to) = @$pair;
  my $offset = $to - $cp;
  if (@runs) {
    my $run = $runs[-1];
    my $step = $cp - $run->[1];
    if ($run->[2] == $offset
        && (($run->[0] == $run->[1] && ($step == 1 || $step == 2)) || $step == $run->[3])) {
      $run->[3] = $step;
      $run->[1] = $cp;
      next;
    }
  }
  push @runs, [$cp, $cp, $offset, 1];
}
# The runs must give back every pair and nothing else.
my %expanded;
for my $run (@runs) {
  for (my $cp = $run->[0]; $cp <= $run->[1]; $cp += $run->[3]) { $expanded{$cp} = $cp + $run->[2] }
}
die "runs do not match the pairs\n"
  unless keys %expanded == @pairs && !grep { $expanded{$_->[0]} != $_->[1] } @pairs;
printf "// Unicode %s: %d code points in %d runs.\n", Unicode::UCD::UnicodeVersion(),
  scalar @pairs, scalar @runs;
printf "    {0x%04X, 0x%04X, %d, %d},\n", @$_ for @runs;
