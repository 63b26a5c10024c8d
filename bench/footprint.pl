#!/usr/bin/perl
# Code footprint per call: the distinct 64-byte lines of the instruction cache that a call runs
# through, per object file. Reads two callgrind profiles taken with --dump-instr=yes of the same
# case, one of N calls and one of 2N (bench/run footprint). A line counts when the longer run
# executed it at least once per extra call, so that one-time work (class lookups, the checks of
# a first call) drops out.
#   footprint.pl <profile of N calls> <profile of 2N calls> <N>
use strict;
use warnings;

sub lines_of {
  my ($file) = @_;
  my (%objects, %cost, $object, $address, $after_calls);
  open(my $in, '<', $file) or die "$file: $!";
  while (<$in>) {
    if (/^(c?ob)=\((\d+)\)(?: (.*))?/) {
      $objects{$2} = (split m{/}, $3)[-1] if defined $3;
      $object = $objects{$2} if $1 eq 'ob';
      next;
    }
    if (/^calls=/) { $after_calls = 1; next; }
    if ($after_calls) { $after_calls = 0; next; }  # the cost of a call, charged to its callee
    next unless /^(0x[0-9a-f]+|[+-]\d+|\*)\s+\S+\s+(\d+)/;
    my ($position, $ir) = ($1, $2);
    if ($position =~ /^0x/) { $address = hex($position); }
    elsif ($position ne '*') { $address += $position; }
    $cost{$object}{$address >> 6} += $ir;
  }
  close($in);
  return \%cost;
}

my ($short, $long, $n) = @ARGV;
die "usage: footprint.pl <profile of N calls> <profile of 2N calls> <N>\n" unless $n;
my $before = lines_of($short);
my $after = lines_of($long);
my $total = 0;
for my $object (sort keys %$after) {
  my $lines = grep { ($after->{$object}{$_} - ($before->{$object}{$_} // 0)) / $n >= 0.5 }
      keys %{$after->{$object}};
  next unless $lines;
  $total += $lines;
  printf "  %5d lines  %5.1f KiB  %s\n", $lines, $lines * 64 / 1024, $object;
}
printf "  %5d lines  %5.1f KiB  in all\n", $total, $total * 64 / 1024;
